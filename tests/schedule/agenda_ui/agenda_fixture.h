#pragma once

// What the to-do window tests share: the popup tests' world (home, data
// folder, settings file, fake clock on Friday 2024-03-15, recorded sounds)
// and a host that records what the windows ask of the main window.

#include <QPointer>
#include <QtTest>

#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "schedule/agenda/ui/agenda_host.h"
#include "schedule_ui/test_popup_fixture.h"

namespace hinagiku::testing {

struct HostRecord {
    CivilDate calendar{2024, 3, 15};
    std::vector<CivilDate> calendarSets;
    int dayViewRefreshes = 0;
    int markRefreshes = 0;

    schedule::AgendaHost host() {
        schedule::AgendaHost h;
        h.calendarDate = [this] { return calendar; };
        h.setCalendarDate = [this](const CivilDate& d) { calendarSets.push_back(d); };
        h.refreshDayView = [this] { ++dayViewRefreshes; };
        h.refreshCalendarMarks = [this] { ++markRefreshes; };
        h.mainWindowWidth = [] { return 240; };
        return h;
    }
};

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no child %s", name);
    return found;
}

inline std::string readBytes(const std::string& path) {
    std::string bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

}  // namespace hinagiku::testing
