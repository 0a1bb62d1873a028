#pragma once

#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/settings.h"
#include "tools/file_associations.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace hinagiku::tools {

// "関連付けの設定": the program's own table of extensions and the programs
// that open them. Changes reach the settings with "閉じる" only.
class FileAssociationsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FileAssociationsWindow(platform::Settings& settings, QWidget* parent = nullptr);

    static FileAssociationsWindow* open(platform::Settings& settings);
    static bool isOpen();

    QListWidget* extensionList() const { return list_; }
    QLineEdit* extensionField() const { return extension_; }
    QLineEdit* programField() const { return program_; }
    QLineEdit* defaultField() const { return default_; }
    QToolButton* programBrowse() const { return programBrowse_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* closeButton() const { return close_; }
    QLabel* statusBar() const { return status_; }
    const std::vector<Association>& rows() const { return rows_; }

    void saveEntry();     // "&Save"
    void deleteEntry();   // "削除"
    void closeAndSave();  // "閉じる"
    // Files dropped on the window.
    void dropFiles(const QStringList& paths);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void extensionChanged();
    void selectionChanged();
    void help(QWidget* widget, const char* text);

    platform::Settings& settings_;
    std::vector<Association> rows_;
    QListWidget* list_;
    QLineEdit* extension_;
    QLineEdit* program_;
    QLineEdit* default_;
    QToolButton* programBrowse_;
    QToolButton* defaultBrowse_;
    QPushButton* save_;
    QPushButton* delete_;
    QPushButton* close_;
    QLabel* status_;
    int updating_ = 0;
    bool shown_ = false;
};

}  // namespace hinagiku::tools
