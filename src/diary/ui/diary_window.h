#pragma once

#include <QImage>
#include <QWidget>
#include <filesystem>

#include "diary/diary_page.h"
#include "diary/page_session.h"
#include "diary/ui/diary_dialogs.h"
#include "platform/settings.h"
#include "richtext/ui/text_finder.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QStackedWidget;
class QTextEdit;

namespace hinagiku::richtext::ui {
class FindDialog;
class FormatBar;
class IndentRuler;
class ReplaceDialog;
}  // namespace hinagiku::richtext::ui

namespace hinagiku::diary::ui {

// The diary window: one day's page with title, weather, picture and rich
// text. Loads the page when first shown; saves it on close when it was
// modified, unless deleted or exported to its own file. A page that cannot
// be read closes at once and its file stays as it was.
class DiaryWindow : public QWidget {
    Q_OBJECT

  public:
    // `settings` must outlive the window; `folder` is the diary folder.
    DiaryWindow(platform::Settings& settings, std::filesystem::path folder, int day,
                QWidget* parent = nullptr);
    ~DiaryWindow() override;

    int day() const { return day_; }
    DiaryDialogs& dialogs() { return dialogs_; }

    // Whether the page differs from the file (or a new page was written in).
    bool isModified() const;
    bool readOnly() const { return header_.readOnly; }
    bool loaded() const { return loaded_; }
    bool refused() const { return refused_; }
    const std::filesystem::path& pagePath() const { return path_; }

    // The window's actions (menu items and buttons).
    void toggleReadOnly();
    void exportPlainText();
    void deletePage();
    void togglePicture();
    void choosePicture();
    void chooseFontColor();
    void chooseBackColor();
    void openFind();
    void openReplace();
    void printPage();
    // Prints a copy of the page with its caption, title and weather lines.
    void printTo(QPrinter& printer);
    // Selects the first occurrence of `text` (the search window's jump).
    bool selectFirst(const QString& text);
    // The program ends: the close path runs (saving a modified page).
    void endSession();

    QLineEdit* titleField() const { return title_; }
    QLineEdit* weatherField() const { return weather_; }
    QTextEdit* editor() const { return editor_; }
    QLabel* statusLine() const { return status_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* pictureButton() const { return picture_; }
    richtext::ui::FormatBar* formatBar() const { return bar_; }
    richtext::ui::IndentRuler* ruler() const { return ruler_; }
    richtext::ui::FindDialog* findDialog() const { return find_; }
    richtext::ui::ReplaceDialog* replaceDialog() const { return replace_; }
    QMenu* contextMenu() const { return menu_; }
    QMenu* weatherMenu() const { return weatherMenu_; }
    bool pictureShown() const;

  signals:
    void closedPage(int day);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildWindow();
    void buildMenus();
    void load();
    void applyHeader();
    void placeWindow(int left, int top, int width, int height, bool pull);
    void updateCaption();
    bool save();
    PageHeader currentHeader();
    bool textsFitCp932();
    void loadPicture();
    void showPicture(bool show);
    void markModified() { modified_ = true; }

    platform::Settings& settings_;
    std::filesystem::path folder_;
    int day_;
    DiaryDialogs dialogs_;
    std::filesystem::path path_;
    PageHeader header_;
    bool loaded_ = false;
    bool shownOnce_ = false;
    bool modified_ = false;
    bool noSave_ = false;
    bool refused_ = false;
    bool stretch_ = false;
    QImage image_;

    QLineEdit* title_;
    QLineEdit* weather_;
    QPushButton* export_;
    QPushButton* delete_;
    QPushButton* picture_;
    QTextEdit* editor_;
    QLabel* pictureView_;
    QStackedWidget* stack_;
    QLabel* status_;
    richtext::ui::FormatBar* bar_;
    richtext::ui::IndentRuler* ruler_;
    richtext::ui::TextFinder finder_;
    richtext::ui::FindDialog* find_ = nullptr;
    richtext::ui::ReplaceDialog* replace_ = nullptr;
    QMenu* menu_;
    QMenu* weatherMenu_;
    QAction* showPictureAction_;
    QAction* stretchAction_;
    QAction* readOnlyAction_;
    QAction* undoAction_;
};

}  // namespace hinagiku::diary::ui
