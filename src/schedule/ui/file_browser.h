#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

#include "schedule/ui/drive_list.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace hinagiku::schedule {

// The linked drive box, folder tree and file list of the file choosers:
// choosing a drive shows its folders, choosing a folder lists its files that
// match the name filters (letter case ignored). The widgets belong to the
// owner; the dialogs place them in their own layouts.
class FileBrowser : public QObject {
    Q_OBJECT
  public:
    explicit FileBrowser(QWidget* owner, std::vector<Drive> drives = systemDrives());

    QComboBox* driveBox() const { return driveBox_; }
    QTreeWidget* folderTree() const { return folderTree_; }
    QListWidget* fileList() const { return fileList_; }
    const std::vector<Drive>& drives() const { return drives_; }

    // Masks such as "*.WAV"; the file list is refilled.
    void setNameFilters(const QStringList& filters);
    // Opens at the file's folder and selects the file when it exists and is
    // listed. A name that is empty or names no file selects nothing; the
    // browser then opens at the named folder if that exists, otherwise at
    // the home folder.
    void setSelectedFile(const QString& path);
    // Shows `folder` (creating tree items down to it).
    void setCurrentFolder(const QString& folder);

    QString currentFolder() const { return currentFolder_; }
    // Full path of the file selected in the list; empty when none is.
    QString selectedFile() const;

  signals:
    // The selected file changed, also to none (a new folder or filter).
    void selectionChanged();
    // A file was double-clicked or Enter was pressed on it.
    void fileActivated(const QString& path);

  private:
    void showDrive(int index, bool selectRoot);
    void fillFolder(QTreeWidgetItem* item);
    void folderChosen(QTreeWidgetItem* item);
    void fillFiles();

    std::vector<Drive> drives_;
    QStringList filters_;
    QString currentFolder_;
    QComboBox* driveBox_;
    QTreeWidget* folderTree_;
    QListWidget* fileList_;
    bool quiet_ = false;  // while the browser moves itself
};

}  // namespace hinagiku::schedule
