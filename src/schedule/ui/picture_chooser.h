#pragma once

#include <QDialog>
#include <QString>

#include <vector>

#include "platform/settings.h"
#include "schedule/ui/drive_list.h"
#include "schedule/ui/error_question.h"

class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace hinagiku::schedule {

class FileBrowser;

// The picture chooser: a modal dialog that browses drives and folders for a
// .BMP or .JPG file, with an optional preview. There is no cancel: whatever
// is selected when the dialog closes is the result. It writes no setting;
// `settings` (which must outlive the dialog) only decides whether its
// sound cues play.
class PictureChooser : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewWidth = 133;
    static constexpr int kPreviewHeight = 137;

    explicit PictureChooser(const platform::Settings& settings, QWidget* parent = nullptr,
                            std::vector<Drive> drives = systemDrives());

    // The initially selected file; the dialog opens at its folder. An empty
    // or invalid name leaves nothing selected.
    void setFileName(const QString& path);
    // The full path of the selected file (the path label); empty when none.
    QString fileName() const;

    // How a JPEG decoding error is put to the user (an error box by default).
    void setErrorQuestion(ErrorQuestion question) { question_ = std::move(question); }

    FileBrowser* browser() const { return browser_; }
    QCheckBox* previewCheck() const { return previewCheck_; }
    QLabel* previewBox() const { return preview_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* okButton() const { return okButton_; }
    QMenu* contextMenu() const { return menu_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void updatePreview();
    QImage decodePreview(const QString& path);
    void keepOnScreen();

    const platform::Settings& settings_;
    FileBrowser* browser_;
    QLabel* pathLabel_;
    QCheckBox* previewCheck_;
    QLabel* preview_;
    QProgressBar* progress_;
    QPushButton* okButton_;
    QMenu* menu_;
    ErrorQuestion question_;
};

}  // namespace hinagiku::schedule
