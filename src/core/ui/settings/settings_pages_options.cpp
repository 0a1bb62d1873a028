// The pages of switches and choices: "基本設定", "拡張設定", "補助設定",
// "ｶﾚﾝﾀﾞｰ", "ｽｹｼﾞｭｰﾙ".
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "calendar/holidays.h"
#include "core/autostart.h"
#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "core/ui/message_box.h"
#include "core/ui/password_gate.h"
#include "core/ui/settings/settings_dialog.h"
#include "schedule/ui/sound_chooser.h"

namespace hinagiku::core {
namespace {

constexpr const char* kNextStart = "この設定は次回起動時に\r有効になります。";

QString qs(std::string_view t) {
    return fromUtf8View(t);
}

QLabel* text(const char* t, QWidget* parent) {
    return new QLabel(QString::fromUtf8(t), parent);
}

}  // namespace

QWidget* SettingsDialog::buildBasicPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    QGroupBox* calendar = choice(page, "カレンダーのダブルクリック", "Setup", "Cal_DBLC");
    calendar->setToolTip(QStringLiteral("カレンダーをダブルクリックした時の動作"));
    // Takes effect at the next start; loading neither writes nor informs.
    QGroupBox* icon = choice(page, "アイコンの表示", "Form", "Tray_icon", 1, [this](int) {
        showMessage(this, {QMessageBox::Information, QString::fromUtf8(kNextStart)});
    });
    QGroupBox* memoIcon =
        choice(page, "トレイのメモアイコンのダブルクリック", "Setup", "MIcon_DBLC");
    QGroupBox* memory = choice(page, "空メモリの取得方法", "Form", "Resource");
    grid->addWidget(calendar, 0, 0);
    grid->addWidget(icon, 0, 1);
    grid->addWidget(memoIcon, 1, 0);
    grid->addWidget(memory, 1, 1, Qt::AlignTop);

    // Start at login: the desktop's autostart entry is the only record, so
    // the box shows what that file says and nothing goes to the settings.
    auto* autostart = new QCheckBox(QStringLiteral("ログイン時に起動する"), page);
    autostart->setObjectName(QStringLiteral("Autostart"));
    setHint(autostart, "デスクトップにログインした時に起動します。");
    const auto entry = [] { return Autostart(Autostart::defaultConfigHome()); };
    autostart->setChecked(entry().state() == AutostartState::On);
    connect(autostart, &QCheckBox::clicked, this, [this, autostart, entry](bool on) {
        const Autostart autostartEntry = entry();
        const AutostartResult result =
            autostartEntry.set(on, QCoreApplication::applicationFilePath().toStdString());
        const QSignalBlocker blocker(autostart);
        autostart->setChecked(autostartEntry.state() == AutostartState::On);
        if (!result.ok)
            showMessage(this, {QMessageBox::Warning, QString::fromStdString(result.message)});
    });
    grid->addWidget(autostart, 2, 0, 1, 2);
    return page;
}

QWidget* SettingsDialog::buildExtendedPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    int r = 0;
    QCheckBox* todayPop = check(page, "起動時にｽｹｼﾞｭｰﾙ一覧を表示", "Form", "Today_pop");
    setHint(todayPop, "");
    grid->addWidget(todayPop, r, 0);
    QCheckBox* todoPop = check(page, "起動時にTodoボードを表示", "Form", "Todo_pop");
    setHint(todoPop, "");
    grid->addWidget(todoPop, r++, 1);
    QCheckBox* birthday = check(page, "誕生日お知らせウィンドウを表示", "Form", "BirthPop");
    setHint(birthday, "誕生日になるとポップアップでお知らせします。");
    grid->addWidget(birthday, r, 0);
    QCheckBox* qreki = check(page, "ｽｹｼﾞｭｰﾙに六曜を表示", "Form", "Qreki");
    setHint(qreki, "六曜とは、大安や仏滅などの事です。");
    grid->addWidget(qreki, r++, 1);
    QCheckBox* del = check(page, "データの削除時に確認をしない｡", "Form", "Delete");
    setHint(del, "削除されたデータは復旧できませんので注意!!");
    grid->addWidget(del, r, 0);
    passwordSwitch_ = check(page, "パスワード機能を使う。", "Password", "Use");
    setHint(passwordSwitch_, "使用前に必ずヘルプを読んでください。。");
    // The switch reacts to the user's clicks only, never to being set.
    connect(passwordSwitch_, &QCheckBox::clicked, this, &SettingsDialog::passwordSwitchClicked);
    grid->addWidget(passwordSwitch_, r++, 1);

    auto* sound = new QGroupBox(QStringLiteral("誕生日ﾎﾟｯﾌﾟｱｯﾌﾟのｻｳﾝﾄﾞ"), page);
    sound->setToolTip(QStringLiteral("必要なら設定してください"));
    auto* soundRow = new QHBoxLayout(sound);
    QLabel* soundPath = pathLabel(sound, "Pop_Born", "file");
    setHint(soundPath, "誕生日がポップアップする時のサウンド。");
    auto* soundButton = new QPushButton(QStringLiteral("…"), sound);
    soundButton->setObjectName(QStringLiteral("Pop_Born.file.button"));
    soundButton->setToolTip(QStringLiteral("ﾌｧｲﾙ選択"));
    soundRow->addWidget(soundPath, 1);
    soundRow->addWidget(soundButton);
    connect(soundButton, &QPushButton::clicked, this, [this, soundPath] {
        QString chosen;
        if (choosers_.sound) {
            chosen = choosers_.sound(this, soundPath->text());
        } else {
            schedule::SoundChooser chooser(this);
            chooser.setFileName(soundPath->text());
            chooser.exec();
            chosen = chooser.fileName();
        }
        if (auto reason = unstorableTextReason(chosen.toStdString())) {
            showMessage(this, {QMessageBox::Warning, qs(*reason)});
            return;
        }
        soundPath->setText(chosen);
        for (Binding& b : bindings_) {
            if (b.widget == soundPath)
                b.commit();
        }
    });
    grid->addWidget(sound, r++, 0, 1, 2);

    auto* interval = new QWidget(page);
    auto* intervalRow = new QHBoxLayout(interval);
    intervalRow->setContentsMargins(0, 0, 0, 0);
    intervalRow->addWidget(text("タイマー割込み間隔", interval));
    QSpinBox* period = spin(interval, "Form", "Interval", [this](int ms) {
        afterWrites([this, ms] { host_.setTimerPeriod(ms); });
    });
    setHint(period, "大きな数値にすると時計表示が秒飛びになります。");
    intervalRow->addWidget(period);
    intervalRow->addWidget(text("ミリ秒（通常は1000で設定してください。）", interval));
    intervalRow->addWidget(text("（要注意）", interval));
    intervalRow->addStretch();
    grid->addWidget(interval, r++, 0, 1, 2);

    QCheckBox* analog = check(page, "月齢にアナログ時計を表示", "Form", "AnalogClock");
    setHint(analog, "月齢表示の際にアナログ時計も表示します。");
    grid->addWidget(analog, r, 0);
    QCheckBox* popView = check(page, "ｽｹｼﾞｭｰﾙのﾎﾟｯﾌﾟﾋﾞｭｰﾜｰを使用", "CalendarEx", "PopView");
    setHint(popView, "使用しなければカレンダーの日付変更が高速に動作します。");
    grid->addWidget(popView, r++, 1);
    grid->addWidget(check(page, "ドロップファイルの区切りはスペース", "ToolWindow", "Separate"), r,
                    0);
    grid->addWidget(check(page, "ウィンドウの位置を固定", "Form", "Move"), r++, 1);
    grid->addWidget(check(page, "ウィンドウを常に手前に表示", "ToolWindow", "StayOnTop"), r, 0);
    grid->addWidget(check(page, "ウィンドウ位置を各モードで記憶", "Form", "ModeSave"), r++, 1);
    QCheckBox* wave = check(page, "操作に伴う効果音を鳴らす。", "Form", "Waveplay");
    setHint(wave, "");
    grid->addWidget(wave, r, 0);
    grid->addWidget(
        check(page, "ミニ時計モードをベースにする。", "Form", "minitokei",
              [this](bool on) { afterWrites([this, on] { host_.miniClockBaseChanged(on); }); }),
        r++, 1);
    auto* mail = new QPushButton(QStringLiteral("メールサーバーの設定"), page);
    mail->setObjectName(QStringLiteral("MailSettings"));
    mail->setEnabled(host_.toolAvailable(SettingsHost::HostTool::MailSettings));
    connect(mail, &QPushButton::clicked, this,
            [this] { host_.openTool(SettingsHost::HostTool::MailSettings); });
    grid->addWidget(mail, r++, 0, Qt::AlignLeft);
    grid->setRowStretch(r, 1);
    return page;
}

void SettingsDialog::passwordSwitchClicked(bool checked) {
    const bool matches =
        choosers_.password ? choosers_.password(this) : askPassword(settings_, this);
    // A mismatch has been shown already. Putting the box back runs nothing.
    const QSignalBlocker block(passwordSwitch_);
    if (checked) {
        passwordSwitch_->setChecked(matches);
        storeKey("Password", "Use", matches ? "1" : "0");
        return;
    }
    if (!matches) {
        passwordSwitch_->setChecked(true);
        return;
    }
    passwordSwitch_->setChecked(false);
    const bool erase =
        showMessage(this, {QMessageBox::Question,
                           qs("パスワードを完全削除しますか？\rパスワードを残して一時的に解除"
                              "するなら「いいえ」を選択してください。"),
                           QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
    if (erase) {
        showMessage(this, {QMessageBox::Information,
                           qs("パスワードを完全削除しました。\r再び設定する場合は、新たにパス"
                              "ワードを設定してください。")});
        try {
            settings_.eraseSection("Password");
        } catch (const std::exception& e) {
            reportError(QString::fromUtf8(e.what()));
        }
    } else {
        showMessage(this, {QMessageBox::Information,
                           qs("パスワードを一時的に解除しました。\r再び設定する場合は、同じパス"
                              "ワードを入力してください。")});
        storeKey("Password", "Use", "0");
    }
}

QWidget* SettingsDialog::buildAuxiliaryPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* menu = new QGroupBox(QStringLiteral("右ｸﾘｯｸﾒﾆｭｰの設定"), page);
    setHint(menu, "右クリックメニュー項目の設定です。");
    auto* menuGrid = new QGridLayout(menu);
    menuGrid->addWidget(choice(menu, "Period", "Setup", "Period"), 0, 0);
    QGroupBox* reboot = choice(menu, "Windowsの終了ﾒﾆｭｰ", "Setup", "Reboot", 1, [this](int index) {
        // Loading keeps the stored tick; the user's "非表示" unticks it.
        if (index != 0 && !creating_)
            rebootExec_->setChecked(false);
        rebootExec_->setEnabled(index == 0);
    });
    reboot->setToolTip(QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰに Windows終了､再起動の項目を付加します｡"));
    menuGrid->addWidget(reboot, 0, 1);
    rebootExec_ = check(menu, "ランチャーメニューにも表示", "Setup", "Reboot_exec");
    menuGrid->addWidget(rebootExec_, 1, 1);
    auto* caption = new QGroupBox(QStringLiteral("右ｸﾘｯｸﾒﾆｭｰの表示項目名"), menu);
    auto* captionRow = new QHBoxLayout(caption);
    periodCaption_ = textField(caption, "Form", "Period_Cap");
    captionRow->addWidget(periodCaption_);
    menuGrid->addWidget(caption, 1, 0);
    grid->addWidget(menu, 0, 0, 1, 2);
    grid->addWidget(
        choice(page, "日付・時間・リソース表示部分のダブルクリック", "Setup", "DblClick", 2), 1, 0,
        1, 2);
    QGroupBox* hotkey =
        choice(page, "ランチャーのホットキー設定", "Form", "Hotkey", 1, [this](int) {
            showMessage(this, {QMessageBox::Information, QString::fromUtf8(kNextStart)});
        });
    hotkey->setToolTip(QStringLiteral("コマンドランチャーの呼び出しキー"));
    grid->addWidget(hotkey, 2, 0);
    auto* associations = new QPushButton(QStringLiteral("関連付けの設定"), page);
    associations->setObjectName(QStringLiteral("FileAssociations"));
    associations->setEnabled(host_.toolAvailable(SettingsHost::HostTool::FileAssociations));
    connect(associations, &QPushButton::clicked, this,
            [this] { host_.openTool(SettingsHost::HostTool::FileAssociations); });
    grid->addWidget(associations, 2, 1, Qt::AlignBottom | Qt::AlignLeft);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* SettingsDialog::buildCalendarPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    auto* holidays = new QGroupBox(QStringLiteral("休日の設定"), page);
    auto* holidayRow = new QHBoxLayout(holidays);
    holidayMonth_ = new QSpinBox(holidays);
    holidayMonth_->setObjectName(QStringLiteral("HolidayMonth"));
    holidayMonth_->setRange(1, 12);
    holidayDay_ = new QSpinBox(holidays);
    holidayDay_->setObjectName(QStringLiteral("HolidayDay"));
    holidayDay_->setRange(1, 31);
    holidayName_ = new QLineEdit(holidays);
    holidayName_->setObjectName(QStringLiteral("HolidayName"));
    setHint(holidayName_, "To_doの配色を設定します。");
    auto* save = new QPushButton(QStringLiteral("保存"), holidays);
    save->setObjectName(QStringLiteral("HolidaySave"));
    setHint(save, "保存された休日はスケジュールシフトの対象です。");
    holidayDelete_ = new QPushButton(QStringLiteral("削除"), holidays);
    holidayDelete_->setObjectName(QStringLiteral("HolidayDelete"));
    holidayRow->addWidget(holidayMonth_);
    holidayRow->addWidget(text("月", holidays));
    holidayRow->addWidget(holidayDay_);
    holidayRow->addWidget(text("日", holidays));
    holidayRow->addWidget(holidayName_, 1);
    holidayRow->addWidget(save);
    holidayRow->addWidget(holidayDelete_);
    const QDate today = QDate::currentDate();
    holidayMonth_->setValue(today.month());
    holidayDay_->setValue(today.day());
    connect(holidayMonth_, &QSpinBox::valueChanged, this, &SettingsDialog::holidayFieldsChanged);
    connect(holidayDay_, &QSpinBox::valueChanged, this, &SettingsDialog::holidayFieldsChanged);
    connect(save, &QPushButton::clicked, this, [this] {
        HolidayEditorState state{holidayMonth_->value(), holidayDay_->value(),
                                 holidayName_->text().toStdString(), false};
        if (auto reason = unstorableTextReason(state.name)) {
            showMessage(this, {QMessageBox::Warning, qs(*reason)});
            return;
        }
        state = holidayEditorSave(state, settings_);
        holidayDelete_->setEnabled(state.canDelete);
        afterWrites([this] { host_.refreshDayView(); });
    });
    connect(holidayDelete_, &QPushButton::clicked, this, [this] {
        HolidayEditorState state{holidayMonth_->value(), holidayDay_->value(), {}, true};
        state = holidayEditorDelete(state, settings_);
        holidayName_->setText(qs(state.name));
        holidayDelete_->setEnabled(state.canDelete);
        host_.refreshDayView();
    });
    grid->addWidget(holidays, 0, 0, 1, 2);

    happyMonday_ = check(page, "ハッピーマンデー対応", "CalendarEx", "Happy_Monday");
    setHint(happyMonday_, "成人の日、体育の日を第２月曜とします。");
    grid->addWidget(happyMonday_, 1, 0);
    grid->addWidget(check(page, "現行の祝日法で計算する", "CalendarEx", "Law",
                          [this](bool on) {
                              happyMonday_->setEnabled(!on);
                              afterWrites([this] { host_.refreshDayView(); });
                          }),
                    1, 1);

    auto* colors = new QGroupBox(QStringLiteral("カレンダーの表示色"), page);
    auto* colorGrid = new QGridLayout(colors);
    const struct {
        const char* caption;
        const char* key;
    } calendarColors[] = {{"日曜日の色", "SundayColor"}, {"土曜日の色", "SaturdayColor"},
                          {"平日の色", "WeekDayColor"},  {"前・翌月の色", "NeighborDayColor"},
                          {"休日の色", "HolidayColor"},  {"予定日の色", "SpecialDayColor"}};
    for (int i = 0; i < 6; ++i) {
        QPushButton* b =
            colorSwatch(colors, calendarColors[i].caption, "CalendarEx", calendarColors[i].key,
                        [this] { host_.applyCalendarColors(); });
        colorGrid->addWidget(b, i / 2, (i % 2) * 2);
        colorGrid->addWidget(control("CalendarEx", calendarColors[i].key), i / 2, (i % 2) * 2 + 1);
    }
    grid->addWidget(colors, 2, 0);

    auto* marks = new QWidget(page);
    auto* markColumn = new QVBoxLayout(marks);
    markColumn->setSpacing(0);
    const struct {
        const char* caption;
        const char* key;
    } cancels[] = {{"毎週、第×週○曜日の予定は色変更しない。", "CanCol_Week"},
                   {"毎月○日の予定は色変更しない。", "CanCol_Mon"},
                   {"毎年○月○日の予定は色変更しない。", "CanCol_Day"},
                   {"全ての予定日、誕生日の色変更をしない。", "CanCol_All"},
                   {"○年○月○日の予定は色変更しない。", "CanCol_todo"},
                   {"誕生日は色変更しない。", "CanCol_Born"}};
    for (const auto& c : cancels)
        markColumn->addWidget(check(marks, c.caption, "CalendarEx", c.key));
    grid->addWidget(marks, 2, 1);
    grid->setRowStretch(3, 1);
    holidayFieldsChanged();
    return page;
}

void SettingsDialog::holidayFieldsChanged() {
    const HolidayEditorState state =
        holidayEditorSelect(holidayMonth_->value(), holidayDay_->value(), settings_);
    const QSignalBlocker blockMonth(holidayMonth_);
    const QSignalBlocker blockDay(holidayDay_);
    holidayMonth_->setValue(state.month);
    holidayDay_->setValue(state.day);
    holidayName_->setText(qs(state.name));
    holidayDelete_->setEnabled(state.canDelete);
}

QWidget* SettingsDialog::buildSchedulePage() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    const struct {
        const char* group;
        const char* preview;
        const char* text;
        const char* back;
    } groups[] = {{"過去", "過去のスケジュール", "PastColor", "PastBackColor"},
                  {"当日", "当日のスケジュール", "TodayColor", "TodayBackColor"},
                  {"未来", "未来のスケジュール", "FutureColor", "FutureBackColor"}};
    for (int i = 0; i < 3; ++i) {
        const auto& g = groups[i];
        auto* box = new QGroupBox(QString::fromUtf8(g.group), page);
        auto* column = new QGridLayout(box);
        auto refresh = [this] { refreshPreviews(); };
        column->addWidget(colorSwatch(box, "フォント色", "To_do", g.text, refresh), 0, 0);
        column->addWidget(control("To_do", g.text), 0, 1);
        column->addWidget(colorSwatch(box, "背景色", "To_do", g.back, refresh), 1, 0);
        column->addWidget(control("To_do", g.back), 1, 1);
        auto* defaults = new QPushButton(QStringLiteral("デフォルト"), box);
        defaults->setObjectName(QStringLiteral("To_do.%1.default").arg(i));
        column->addWidget(defaults, 2, 0, 1, 2);
        schedulePreview_[i] = new QLabel(QString::fromUtf8(g.preview), box);
        schedulePreview_[i]->setAlignment(Qt::AlignCenter);
        schedulePreview_[i]->setAutoFillBackground(true);
        schedulePreview_[i]->setMinimumHeight(40);
        column->addWidget(schedulePreview_[i], 3, 0, 1, 2);
        const std::string textKey = g.text;
        const std::string backKey = g.back;
        connect(defaults, &QPushButton::clicked, this, [this, textKey, backKey] {
            for (const std::string& key : {textKey, backKey}) {
                const OptionRow* row = findOption("To_do", key);
                if (storeKey("To_do", key, std::to_string(row->defaultNumber)))
                    reload(*row);
            }
            refreshPreviews();
        });
        row->addWidget(box);
    }
    return page;
}

}  // namespace hinagiku::core
