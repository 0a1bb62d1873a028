#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "phonebook/tab_file.h"
#include "platform/echo_probe.h"
#include "platform/settings.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
class QToolButton;

namespace hinagiku::phonebook {

class TabModel;
class TitleHeader;

// The phone book window ("簡易電話帳"): twelve index tabs and the search
// results over one grid, the dial field, tone dialling, mail, web and ping.
// Each tab is saved before another is shown, before a search, on close and
// at program end; a tab that cannot be saved keeps its edits and stays.
class PhoneBookWindow : public QWidget {
    Q_OBJECT
  public:
    enum class MessageKind { Information, Warning, Error };
    // Where messages go (default: a message box); tests record them.
    using MessageSink = std::function<void(MessageKind kind, const QString& text)>;

    // `folder` is the phone folder (data folder + "Tel"); `settings` must
    // outlive the window. `probe` may be null: the system's probe is made.
    PhoneBookWindow(platform::Settings& settings, std::filesystem::path folder,
                    std::unique_ptr<platform::EchoProbe> probe = nullptr,
                    QWidget* parent = nullptr);
    ~PhoneBookWindow() override;

    void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }
    // For every window made later (the first tab's message comes from the
    // constructor); an empty function returns to message boxes.
    static void setDefaultMessageSink(MessageSink sink);

    // Saves the tab shown; false (after the message) when it could not be.
    bool saveCurrentTab();
    // Shows tab `tab` after saving the current one; false when the save failed.
    bool showTab(int tab);
    int currentTab() const { return tab_; }
    void search(const QString& text);
    void startTones();
    bool dialling() const { return toneIndex_ >= 0; }
    void ping();
    void sendMail();
    void openWebPage();
    void dialModem();

    // For tests and the hook.
    TabModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    TitleHeader* titleHeader() const { return titleHeader_; }
    QToolButton* dialButton() const { return dialButton_; }
    QTabBar* tabBar() const { return tabs_; }
    QLineEdit* dialField() const { return dialField_; }
    QLineEdit* ipField() const { return ipField_; }
    QLineEdit* searchField() const { return searchField_; }
    QPushButton* speakerButton() const { return speakerButton_; }
    QPushButton* pingButton() const { return pingButton_; }
    QPushButton* mailButton() const { return mailButton_; }
    QPushButton* webButton() const { return webButton_; }
    QCheckBox* editLock() const { return editLock_; }
    QCheckBox* reorderMode() const { return reorderMode_; }
    QString statusText() const;
    const TabFile& tabFile() const { return file_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildUi();
    void applyTitles();
    void applyWidths();
    void storeWidths();
    void applyColumnWidths();  // the grid's columns under the title cells
    void updateRowFields();    // the row's number and address into the fields
    void updateButtons();
    void setEditLock(bool on);
    void setReorder(bool on);
    void resetRowOrder();
    TabGrid gridInViewOrder() const;
    void message(MessageKind kind, const QString& text);
    void playNextTone();
    void stopTones();
    void pingResolved(const QString& field, const QHostAddress& address);
    void pingFinished(const platform::EchoProbe::Outcome& outcome);
    void finishPing();
    void onSessionEnd();
    void showContextMenu(const QPoint& pos);

    platform::Settings& settings_;
    std::filesystem::path folder_;
    std::unique_ptr<platform::EchoProbe> probe_;
    MessageSink sink_;
    TabFile file_;
    int tab_ = -1;
    bool closing_ = false;
    bool saved_ = false;  // saved on the way out

    QTabBar* tabs_ = nullptr;
    TitleHeader* titleHeader_ = nullptr;
    QTableView* view_ = nullptr;
    TabModel* model_ = nullptr;
    QLineEdit* dialField_ = nullptr;
    QToolButton* dialButton_ = nullptr;
    QCheckBox* editLock_ = nullptr;
    QCheckBox* reorderMode_ = nullptr;
    QPushButton* speakerButton_ = nullptr;
    QPushButton* mailButton_ = nullptr;
    QPushButton* webButton_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QLineEdit* ipField_ = nullptr;
    QPushButton* pingButton_ = nullptr;
    QLabel* status_ = nullptr;
    QString statusMessage_;
    QAction* speakerAction_ = nullptr;

    std::vector<std::string> toneCharacters_;
    int toneIndex_ = -1;
    int lookupId_ = -1;
    bool pinging_ = false;
};

}  // namespace hinagiku::phonebook
