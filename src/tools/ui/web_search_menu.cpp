#include "tools/ui/web_search_menu.h"

#include <QLineEdit>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "platform/program_launcher.h"
#include "tools/web_search.h"

namespace hinagiku::tools {

WebSearchMenu::WebSearchMenu(platform::Settings& settings, QLineEdit* box,
                             std::function<void()> afterOpen, QWidget* parent)
    : QMenu(parent), settings_(settings), box_(box), afterOpen_(std::move(afterOpen)) {
    int number = 0;
    for (const WebSearchItem& item : webSearchMenu()) {
        if (item.caption.empty()) {
            addSeparator();
            continue;
        }
        ++number;
        QAction* action = addAction(
            QString::fromUtf8(item.caption.data(), static_cast<qsizetype>(item.caption.size())));
        action->setToolTip(QString::fromLatin1(item.urlTemplate.data(),
                                               static_cast<qsizetype>(item.urlTemplate.size())));
        const int chosen = number;
        connect(action, &QAction::triggered, this, core::guard([this, chosen] { choose(chosen); }));
    }
    setToolTipsVisible(true);
}

void WebSearchMenu::choose(int number) {
    int seen = 0;
    for (const WebSearchItem& item : webSearchMenu()) {
        if (item.caption.empty() || ++seen != number)
            continue;
        // The URL goes to the opener as it is built: no URL class that would
        // re-encode its bytes.
        const std::string url = webSearchUrl(item, box_->text().toStdString());
        platform::programLauncher().start(url);
        core::PlaySoundCue(settings_, "ope");
        if (afterOpen_)
            afterOpen_();
        return;
    }
}

}  // namespace hinagiku::tools
