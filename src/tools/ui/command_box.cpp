#include "tools/ui/command_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "tools/launch_request.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/web_search_menu.h"

namespace hinagiku::tools {

CommandBox::CommandBox(QLineEdit* box, platform::Settings& settings, std::filesystem::path folder,
                       Menus menus, QObject* parent)
    : QObject(parent),
      box_(box),
      settings_(settings),
      folder_(std::move(folder)),
      menus_(menus),
      completer_(new QCompleter(this)),
      model_(new QStringListModel(this)) {
    // The list is filtered here (literal names, ASCII case ignored); the
    // completer only shows it and leaves the keyboard to the box.
    completer_->setModel(model_);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setWidget(box_);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            core::guard([this](const QString& text) {
                box_->setText(text);
                refill(false);
            }));
    webMenu_ = new WebSearchMenu(
        settings_, box_, [this] { clearBox(); }, box_);
    warn_ = [this](const QString& text) { toolDialogs().warn(box_->window(), text, {}); };
    connect(box_, &QLineEdit::textEdited, this, core::guard([this] { refill(true); }));
    connect(box_, &QLineEdit::textChanged, this,
            core::guard([this](const QString& text) { box_->setToolTip(hintFor(text)); }));
    box_->setToolTip(hintFor(box_->text()));
    box_->installEventFilter(this);
    completer_->popup()->installEventFilter(this);
    refill(false);
}

void CommandBox::setWarningSink(std::function<void(const QString&)> sink) {
    warn_ = std::move(sink);
}

QString CommandBox::hintFor(const QString& text) {
    return text.isEmpty() ? QStringLiteral("\".\"(ピリオド)でショートカット専用フォルダ") : text;
}

void CommandBox::refill(bool popup) {
    std::string problem;
    if (!folder_.refresh(&problem))
        box_->setToolTip(QString::fromStdString(problem));
    const std::string typed = box_->text().toStdString();
    QStringList names;
    for (const std::string& name : folder_.completions(typed))
        names << QString::fromStdString(name);
    model_->setStringList(names);
    setGrey(!typed.empty() && folder_.firstCompletionEquals(typed));
    if (popup && !names.isEmpty() && box_->isVisible()) {
        completer_->complete();
        completer_->popup()->move(belowBox());
    } else if (names.isEmpty())
        completer_->popup()->hide();
}

QStringList CommandBox::completions() const {
    return model_->stringList();
}

bool CommandBox::grey() const {
    return grey_;
}

void CommandBox::setGrey(bool grey) {
    grey_ = grey;
    QPalette palette = box_->palette();
    palette.setColor(QPalette::Base,
                     grey ? QApplication::palette().color(QPalette::Button) : QColor(Qt::white));
    box_->setPalette(palette);
}

void CommandBox::clearBox() {
    box_->clear();
    setGrey(false);
    refill(false);
}

QPoint CommandBox::belowBox() const {
    // From the window's own position: a borderless window placed by the
    // program is not always where the platform's mapping thinks it is.
    const QWidget* window = box_->window();
    return window->geometry().topLeft() + box_->mapTo(window, QPoint(0, box_->height()));
}

void CommandBox::popupBelowBox(QMenu* menu) {
    if (menu != nullptr)
        menu->popup(belowBox());
}

bool CommandBox::run(const QString& text) {
    completer_->popup()->hide();
    folder_.refresh();
    const std::string typed = text.toStdString();
    const bool shortcutFile = !folder_.find(typed).empty();
    const LaunchRequest request = commandBoxRequest(folder_, typed);
    if (shortcutFile && !request.error.empty()) {
        // The file is there but leads nowhere: say so rather than search.
        warn_(QString::fromStdString(request.error));
        return false;
    }
    const platform::LaunchResult result = startRequest(request);
    if (result.started) {
        core::PlaySoundCue(settings_, "ope");
        clearBox();
        return true;
    }
    QApplication::beep();
    popupBelowBox(webMenu_);
    return false;
}

bool CommandBox::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == box_ || watched == completer_->popup()) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
            completer_->popup()->hide();
            popupBelowBox(menus_.launcher);
            return true;
        }
        if (enter && key->modifiers().testFlag(Qt::ShiftModifier)) {
            completer_->popup()->hide();
            popupBelowBox(menus_.memo);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace hinagiku::tools
