#include "mail/mail_check.h"

#include "mail/mail_log.h"
#include "mail/mail_settings.h"

namespace hinagiku::mail {

MailCheck::MailCheck(platform::Settings& settings, QObject* parent)
    : MailCheck(settings, Options{}, parent) {}

MailCheck::MailCheck(platform::Settings& settings, Options options, QObject* parent)
    : QObject(parent), settings_(settings), options_(std::move(options)) {
    wait_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, &MailCheck::concludeAccount);
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        clients_[i] = std::make_unique<Pop3Client>();
        clients_[i]->connection().setOptions(options_.connection);
        const int number = static_cast<int>(i) + 1;
        connect(clients_[i].get(), &Pop3Client::finished, this,
                [this, i, number](const Pop3Result& result) {
                    logPop3Outcome(settings_, number, result);
                    if (running_ && index_ == static_cast<int>(i) && wait_.isActive()) {
                        wait_.stop();
                        concludeAccount();
                    }
                });
    }
}

MailCheck::~MailCheck() = default;

void MailCheck::setOptions(Options options) {
    options_ = std::move(options);
    for (auto& c : clients_)
        c->connection().setOptions(options_.connection);
}

bool MailCheck::anyConversationOpen() const {
    for (const auto& c : clients_) {
        if (c->busy())
            return true;
    }
    return false;
}

PanelColor MailCheck::currentColor() const {
    if (!running_ || index_ < 0 || !wait_.isActive())
        return PanelColor::Black;
    static constexpr PanelColor kColors[] = {PanelColor::Maroon, PanelColor::Navy,
                                             PanelColor::Green};
    return kColors[index_];
}

void MailCheck::run(CheckOrigin origin) {
    if (running_ || anyConversationOpen()) {
        emit panelsChanged(PanelColor::Grey);
        ++flashes_;
        QTimer::singleShot(options_.flashMilliseconds, this, [this, origin] {
            if (--flashes_ == 0)
                emit panelsChanged(currentColor());
            emit flashed(origin == CheckOrigin::Tick ? 0 : -1);
        });
        return;
    }
    running_ = true;
    index_ = -1;
    outcomes_.clear();
    texts_ = {};
    nextAccount();
}

void MailCheck::nextAccount() {
    while (++index_ < 3) {
        const Pop3Account account = readPop3Account(settings_, index_ + 1);
        if (!account.check)
            continue;
        Pop3Client& c = *clients_[static_cast<std::size_t>(index_)];
        c.resetCount();
        wait_.start(options_.waitMilliseconds[static_cast<std::size_t>(index_)]);
        emit panelsChanged(currentColor());
        c.start(account);
        return;
    }
    finishCheck();
}

void MailCheck::concludeAccount() {
    const auto i = static_cast<std::size_t>(index_);
    Pop3Client& c = *clients_[i];
    const Pop3Account account = readPop3Account(settings_, index_ + 1);
    AccountOutcome outcome;
    outcome.number = index_ + 1;
    if (c.busy() && !c.decided()) {
        outcome.state = Pop3State::Timeout;
    } else {
        outcome.state = c.lastResult().state;
        outcome.stat = c.lastResult().stat;
    }
    outcome.text = resultText(account.name, c.messageCount());
    texts_[i] = outcome.text;
    outcomes_.push_back(outcome);
    if (flashes_ == 0)
        emit panelsChanged(PanelColor::Black);
    // The next account from the event loop, so that the black panels show.
    QTimer::singleShot(0, this, [this] { nextAccount(); });
}

void MailCheck::finishCheck() {
    running_ = false;
    index_ = -1;
    const std::vector<AccountOutcome> outcomes = std::move(outcomes_);
    outcomes_.clear();
    emit checked(outcomes, texts_, mailCheckInterval(settings_));
}

}  // namespace hinagiku::mail
