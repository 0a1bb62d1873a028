#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::diary::ui {

class DiaryListWindow;
class DiaryWindow;

// The diary as the main window sees it: the list window's hook and the
// open diary pages, found by their date.
class DiaryTool : public QObject {
    Q_OBJECT

  public:
    DiaryTool(platform::Settings& settings, const platform::Clock& clock,
              QObject* parent = nullptr);
    ~DiaryTool() override;

    // The main window's hook: the privacy gate, the data folder, the diary
    // folder (its failure shows the missing-folder box and the settings
    // dialog), then the list opens or comes to the front.
    void open();
    bool isOpen() const;
    // A day's page from elsewhere (the jump window's "日記を綴る"): the same
    // gate and folder checks as the list, then the page.
    DiaryWindow* openDay(int day);
    DiaryListWindow* list() const;

    // The day's page window, brought to the front when open, else created
    // and shown.
    DiaryWindow* openPage(int day);
    DiaryWindow* page(int day) const;
    std::vector<DiaryWindow*> pages() const;
    // Closes every page through its close path; a page that refuses (its
    // save failed) stays open.
    void closePages();
    // The program ends: every page runs its close path.
    void endSession();

    // Called with each new page window before it is shown (tests answer
    // its dialogs here).
    std::function<void(DiaryWindow*)> pageCreated;
    // The missing-folder box when the folder cannot even be attempted.
    std::function<void(const QString&)> warn;

    platform::Settings& settings() { return settings_; }
    const platform::Clock& clock() const { return clock_; }

  private:
    // The privacy gate, the data folder and the diary folder, in that order.
    bool ready();
    platform::Settings& settings_;
    const platform::Clock& clock_;
    QPointer<DiaryListWindow> list_;
    std::map<int, QPointer<DiaryWindow>> pages_;
};

}  // namespace hinagiku::diary::ui
