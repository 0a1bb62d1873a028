#include "tools/ui/countdown_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "platform/cp932.h"
#include "schedule/ui/sound_chooser.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/window_place.h"

namespace hinagiku::tools {
namespace {

constexpr int kPercents[] = {50, 80, 100};

QPointer<CountdownWindow>& instance() {
    static QPointer<CountdownWindow> window;
    return window;
}

// The desktop's notification service; a desktop without one stays silent.
void notifyDesktop(const QString& text) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Hinagiku") << 0u << QString() << QStringLiteral("減算タイマー") << text
         << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().asyncCall(call);
}

std::function<void(const QString&)>& endNotifier() {
    static std::function<void(const QString&)> notifier = notifyDesktop;
    return notifier;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CountdownWindow::CountdownWindow(platform::Settings& settings, const platform::Clock& clock,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), clock_(clock) {
    setWindowTitle(QStringLiteral("減算タイマー"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);

    auto* span = new QHBoxLayout;
    hours_ = new QSpinBox(this);
    hours_->setRange(0, 23);
    minutes_ = new QSpinBox(this);
    minutes_->setRange(0, 59);
    minutes_->setValue(1);
    span->addWidget(hours_);
    span->addWidget(new QLabel(QStringLiteral("時間"), this));
    span->addWidget(minutes_);
    span->addWidget(new QLabel(QStringLiteral("分後"), this));
    span->addStretch();
    layout->addLayout(span);

    auto* presetRow = new QHBoxLayout;
    presets_ = new QListWidget(this);
    presets_->setMaximumHeight(90);
    presetRow->addWidget(presets_, 1);
    auto* presetButtons = new QVBoxLayout;
    title_ = new QLineEdit(this);
    title_->setPlaceholderText(QStringLiteral("タイトル"));
    add_ = new QPushButton(QStringLiteral("追加"), this);
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    presetButtons->addWidget(title_);
    presetButtons->addWidget(add_);
    presetButtons->addWidget(delete_);
    presetRow->addLayout(presetButtons);
    layout->addLayout(presetRow);

    group_ = new QGroupBox(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), this);
    auto* grid = new QGridLayout(group_);
    static const char* kCaptions[] = {"50%時のサウンド", "80%時のサウンド", "100%時のサウンド"};
    for (int i = 0; i < 3; ++i) {
        const auto index = static_cast<std::size_t>(i);
        grid->addWidget(new QLabel(QString::fromUtf8(kCaptions[i]), group_), i, 0);
        sounds_[index] = new QLineEdit(group_);
        soundButtons_[index] = new QToolButton(group_);
        soundButtons_[index]->setText(QStringLiteral("..."));
        soundButtons_[index]->setToolTip(QStringLiteral("ﾌｧｲﾙ選択"));
        grid->addWidget(sounds_[index], i, 1);
        grid->addWidget(soundButtons_[index], i, 2);
        connect(soundButtons_[index], &QToolButton::clicked, this,
                core::guard([this, i] { chooseSound(i); }));
        connect(sounds_[index], &QLineEdit::textEdited, this,
                core::guard([this, i] { soundEdited(i); }));
    }
    layout->addWidget(group_);

    auto* controls = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("開始"), this);
    pause_ = new QPushButton(QStringLiteral("一時停止"), this);
    reset_ = new QPushButton(QStringLiteral("リセット"), this);
    controls->addWidget(start_);
    controls->addWidget(pause_);
    controls->addWidget(reset_);
    layout->addLayout(controls);
    hide_ = new QCheckBox(QStringLiteral("時間が来るまで窓を隠す。"), this);
    layout->addWidget(hide_);
    startLabel_ = new QLabel(QStringLiteral("開始時間："), this);
    endLabel_ = new QLabel(QStringLiteral("終了時間："), this);
    layout->addWidget(startLabel_);
    layout->addWidget(endLabel_);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    layout->addWidget(progress_);
    status_ = new QLabel(this);
    status_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status_);

    connect(hours_, &QSpinBox::valueChanged, this,
            core::guard(this, &CountdownWindow::normaliseFields));
    connect(minutes_, &QSpinBox::valueChanged, this,
            core::guard(this, &CountdownWindow::normaliseFields));
    connect(presets_, &QListWidget::currentRowChanged, this,
            core::guard(this, &CountdownWindow::presetSelected));
    connect(add_, &QPushButton::clicked, this, core::guard(this, &CountdownWindow::addPreset));
    connect(delete_, &QPushButton::clicked, this,
            core::guard(this, &CountdownWindow::deletePreset));
    connect(start_, &QPushButton::clicked, this,
            core::guard(this, &CountdownWindow::startCountdown));
    connect(pause_, &QPushButton::clicked, this, core::guard(this, &CountdownWindow::togglePause));
    connect(reset_, &QPushButton::clicked, this,
            core::guard(this, &CountdownWindow::resetCountdown));
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, core::guard(this, &CountdownWindow::tick));
}

CountdownWindow::~CountdownWindow() = default;

CountdownWindow* CountdownWindow::open(platform::Settings& settings, const platform::Clock& clock) {
    QPointer<CountdownWindow>& window = instance();
    if (window) {
        window->hide_->setChecked(false);
        bringToFront(window);
        return window;
    }
    window = new CountdownWindow(settings, clock);
    restorePlace(window, settings, "Gtimer");
    window->show();
    return window;
}

bool CountdownWindow::isOpen() {
    return !instance().isNull();
}

void CountdownWindow::setEndNotifier(std::function<void(const QString&)> notifier) {
    endNotifier() = notifier ? std::move(notifier) : notifyDesktop;
}

void CountdownWindow::normaliseFields() {
    int h = hours_->value();
    int m = minutes_->value();
    normaliseSpan(h, m);
    if (h != hours_->value())
        hours_->setValue(h);
    if (m != minutes_->value())
        minutes_->setValue(m);
}

void CountdownWindow::loadPresets() {
    ++loading_;
    presets_->clear();
    for (const CountdownPreset& preset : readCountdownPresets(settings_))
        presets_->addItem(qs(preset.title));
    presets_->setCurrentRow(-1);
    --loading_;
    presetSelected();
}

void CountdownWindow::presetSelected() {
    if (loading_ > 0)
        return;
    const int row = presets_->currentRow();
    const std::vector<CountdownPreset> all = readCountdownPresets(settings_);
    const bool selected = row >= 0 && row < static_cast<int>(all.size());
    ++loading_;
    if (selected) {
        const CountdownPreset& preset = all[static_cast<std::size_t>(row)];
        hours_->setValue(preset.hours);
        minutes_->setValue(preset.minutes);
        title_->setText(qs(preset.title));
        sounds_[0]->setText(qs(preset.sound50));
        sounds_[1]->setText(qs(preset.sound80));
        sounds_[2]->setText(
            qs(preset.sound100.empty() ? defaultEndSound(settings_) : preset.sound100));
        group_->setTitle(qs(preset.title) + QStringLiteral("のﾌﾟﾛﾊﾟﾃｨ"));
    } else {
        group_->setTitle(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"));
        sounds_[0]->clear();
        sounds_[1]->clear();
        sounds_[2]->setText(qs(defaultEndSound(settings_)));
    }
    for (int i = 0; i < 3; ++i) {
        sounds_[static_cast<std::size_t>(i)]->setEnabled(selected && !run_);
        soundButtons_[static_cast<std::size_t>(i)]->setEnabled(selected && !run_);
    }
    delete_->setEnabled(selected && !run_);
    --loading_;
}

void CountdownWindow::soundEdited(int index) {
    const int row = presets_->currentRow();
    if (row < 0 || loading_ > 0)
        return;
    const std::string path = sounds_[static_cast<std::size_t>(index)]->text().toStdString();
    if (!platform::fitsCp932(path)) {
        status_->setText(
            QStringLiteral("「%1」には設定ファイルに保存できない文字があるので保存しません。")
                .arg(qs(path)));
        return;
    }
    writeCountdownSound(settings_, row, kPercents[index], path);
}

void CountdownWindow::chooseSound(int index) {
    schedule::SoundChooser chooser(this);
    chooser.setFileName(sounds_[static_cast<std::size_t>(index)]->text());
    chooser.exec();
    const QString chosen = chooser.fileName();
    if (chosen.isEmpty())
        return;
    sounds_[static_cast<std::size_t>(index)]->setText(chosen);
    soundEdited(index);
}

void CountdownWindow::addPreset() {
    const std::string title = title_->text().toStdString();
    if (!platform::fitsCp932(title)) {
        toolDialogs().warn(this,
                           QStringLiteral("「%1」には設定ファイルに保存できない文字があります。")
                               .arg(title_->text()),
                           {});
        return;
    }
    core::PlaySoundCue(settings_, "sav");
    normaliseFields();
    CountdownPreset preset;
    preset.title = title;
    preset.hours = hours_->value();
    preset.minutes = minutes_->value();
    const int index = addCountdownPreset(settings_, preset);
    ++loading_;
    presets_->addItem(title_->text());
    --loading_;
    presets_->setCurrentRow(index);
}

void CountdownWindow::deletePreset() {
    const int row = presets_->currentRow();
    if (row < 0)
        return;
    if (settings_.readInt("Form", "Delete", 0) == 0 &&
        !toolDialogs().ask(this, QString::fromUtf8(kDeleteQuestion)))
        return;
    core::PlaySoundCue(settings_, "del");
    deleteCountdownPreset(settings_, row);
    ++loading_;
    delete presets_->takeItem(row);
    presets_->setCurrentRow(-1);
    --loading_;
    presetSelected();
}

void CountdownWindow::setEditing(bool enabled) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{start_, hours_, minutes_, presets_, title_, add_})
        widget->setEnabled(enabled);
    pause_->setEnabled(!enabled);
    reset_->setEnabled(!enabled);
    presetSelected();
}

std::string CountdownWindow::soundFor(int index) const {
    return runSounds_[static_cast<std::size_t>(index)];
}

void CountdownWindow::startCountdown() {
    normaliseFields();
    run_.emplace(clock_, hours_->value(), minutes_->value());
    runTitle_ = title_->text().toStdString();
    for (int i = 0; i < 3; ++i)
        runSounds_[static_cast<std::size_t>(i)] =
            sounds_[static_cast<std::size_t>(i)]->text().toStdString();
    if (runSounds_[2].empty())
        runSounds_[2] = defaultEndSound(settings_);
    const auto maximum = static_cast<int>(run_->maximum());
    progress_->setRange(0, maximum);
    progress_->setValue(maximum);
    progress_->setEnabled(true);
    startLabel_->setText(QStringLiteral("開始時間：") + qs(formatCountdownTime(run_->startTime())));
    endLabel_->setText(QStringLiteral("終了時間：") + qs(formatCountdownTime(run_->endTime())));
    status_->setText(qs(countdownStatusText(runTitle_)));
    timer_.start();
    setEditing(false);
}

void CountdownWindow::togglePause() {
    if (run_)
        run_->setPaused(!run_->paused());
}

void CountdownWindow::resetCountdown() {
    timer_.stop();
    run_.reset();
    setEditing(true);
    startLabel_->setText(QStringLiteral("開始時間："));
    endLabel_->setText(QStringLiteral("終了時間："));
    setWindowTitle(QStringLiteral("減算タイマー"));
    progress_->setEnabled(true);
}

void CountdownWindow::play(const std::string& path) {
    if (path.empty() || !QFileInfo::exists(qs(path)))
        return;
    core::PlaySoundFile(std::filesystem::path(path));
}

void CountdownWindow::tick() {
    if (!run_)
        return;
    if (hide_->isChecked())
        hide();
    const CountdownNotice notice = run_->tick();
    if (run_->paused()) {
        progress_->setEnabled(false);
        setWindowTitle(QStringLiteral("減算タイマー （一時停止）"));
    } else {
        progress_->setEnabled(true);
        progress_->setValue(static_cast<int>(run_->remaining()));
        setWindowTitle(QStringLiteral("減算タイマー （残り %1秒）").arg(run_->remaining()));
    }
    endLabel_->setText(QStringLiteral("終了時間：") + qs(formatCountdownTime(run_->endTime())));
    switch (notice) {
        case CountdownNotice::Half:
            status_->setText(qs(countdownNoticeText(notice, runTitle_)));
            play(soundFor(0));
            break;
        case CountdownNotice::Eighty:
            status_->setText(qs(countdownNoticeText(notice, runTitle_)));
            play(soundFor(1));
            break;
        case CountdownNotice::End: {
            hide_->setChecked(false);
            bringToFront(this);
            const QString text = qs(countdownNoticeText(notice, runTitle_));
            status_->setText(text);
            play(soundFor(2));
            endNotifier()(text);
            resetCountdown();
            break;
        }
        case CountdownNotice::None:
            break;
    }
}

void CountdownWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    core::PlaySoundCue(settings_, "ope");
    loadPresets();
    resetCountdown();
}

void CountdownWindow::closeEvent(QCloseEvent* event) {
    storePlace(this, settings_, "Gtimer");
    platform::soundOutput().stop();
    core::PlaySoundCue(settings_, "clo");
    timer_.stop();
    event->accept();
}

}  // namespace hinagiku::tools
