// The main window's construction: the drag bar, the button bar, the info
// and month rows, the moon panel, the menus and the tray icons.
#include "mainwindow/ui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <exception>

#include "calendar/format_date.h"
#include "calendar/moon.h"
#include "core/command_text.h"
#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/startup.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "core/ui/busy_notice.h"
#include "core/ui/settings_dialog_hook.h"
#include "mainwindow/drop_text.h"
#include "mainwindow/month_navigation.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/color_value.h"
#include "mainwindow/ui/dr_clock.h"
#include "mainwindow/ui/main_window_layout.h"
#include "mainwindow/ui/moon_view.h"
#include "mainwindow/ui/panel_button.h"
#include "mainwindow/ui/pop_viewer.h"
#include "mainwindow/ui/tool_button.h"
#include "mainwindow/ui/tray_icon.h"
#include "platform/memory_status.h"
#include "platform/program_launcher.h"
#include "schedule/day_marks.h"
#include "schedule/ui/popup_hooks.h"

namespace hinagiku::mainwindow {
namespace {

using namespace layout;

QLabel* makeField(QWidget* parent, const QColor& text, const QColor& background,
                  Qt::Alignment align = Qt::AlignCenter) {
    auto* label = new QLabel(parent);
    setFieldColors(label, text, background);
    label->setAlignment(align);
    return label;
}

}  // namespace

// ---------------------------------------------------------------- building

void MainWindow::buildDragBar() {
    dragBar_ = new QWidget(this);
    dragBar_->setGeometry(0, 0, kDragBarWidth, kCalendarHeight);
    dragBar_->setToolTip(QStringLiteral("移動"));
    dragBar_->setAutoFillBackground(true);
    dragBar_->installEventFilter(this);
    auto* close = new TPanelButton(dragBar_);
    close->setGeometry(1, 1, kDragBarWidth - 2, kDragBarWidth - 2);
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("閉じる"));
    QFont tiny = font();
    tiny.setPixelSize(9);
    close->setFont(tiny);
    connect(close, &TPanelButton::clicked, this, core::guard(this, &MainWindow::KGClock2Click));
    setDragBarActive(true);
}

void MainWindow::buildButtonBar() {
    buttonBar_ = new QWidget(this);
    buttonBar_->setGeometry(kContentLeft, 0, kContentWidth, kButtonBarHeight);
    buttonBar_->setAutoFillBackground(true);

    struct ButtonLook {
        const char* hint;
        const char* caption;
        QColor color;
    };
    const ButtonLook menus[] = {{"メイン", "主", QColor(0x80, 0x00, 0x00)},
                                {"メモ", "メ", QColor(0x00, 0x60, 0x00)},
                                {"ランチャーメニュー", "ラ", QColor(0x00, 0x00, 0x90)}};
    const std::pair<ButtonLook, Tool> tools[] = {
        {{"ポップアップ", "ポ", QColor(0xC0, 0x40, 0x00)}, Tool::PopupRegistration},
        {{"スケジュール", "ス", QColor(0x00, 0x60, 0xC0)}, Tool::ScheduleRegistration},
        {{"スケジュール管理", "管", QColor(0x40, 0x40, 0xA0)}, Tool::ScheduleManagement},
        {{"予定一覧", "予", QColor(0x00, 0x80, 0x80)}, Tool::ScheduleList},
        {{"ToDoボード", "T", QColor(0x80, 0x60, 0x00)}, Tool::TodoBoard},
        {{"日記タイトル一覧", "日", QColor(0x00, 0x80, 0x40)}, Tool::DiaryList},
        {{"誕生日", "誕", QColor(0xC0, 0x00, 0x60)}, Tool::Birthdays},
        {{"電話帳", "電", QColor(0x60, 0x60, 0x60)}, Tool::PhoneBook},
    };
    constexpr int kStep = 25;
    int index = 0;
    auto place = [&](TPanelButton* button) {
        const int row = index < 9 ? 0 : 1;
        const int column = index < 9 ? index : index - 9;
        button->setGeometry(1 + column * kStep, 2 + row * 26, 24, 24);
        ++index;
    };
    QMenu** menuTargets[] = {&mainMenu_, &memoMenu_, &launcherMenu_};
    for (int i = 0; i < 3; ++i) {
        auto* button = makeToolButton(buttonBar_, QString::fromUtf8(menus[i].hint),
                                      QString::fromUtf8(menus[i].caption), menus[i].color);
        place(button);
        QMenu** target = menuTargets[i];
        connect(button, &TPanelButton::clicked, this,
                core::guard([this, target] { popupMenu(*target); }));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                core::guard([this, target] { popupMenu(*target); }));
    }
    for (const auto& [look, tool] : tools) {
        auto* button = makeToolButton(buttonBar_, QString::fromUtf8(look.hint),
                                      QString::fromUtf8(look.caption), look.color);
        place(button);
        const Tool target = tool;
        connect(button, &TPanelButton::clicked, this,
                core::guard([this, target] { openTool(target); }));
        toolButtons_.emplace_back(button, tool);
    }
    auto* settingsButton = makeToolButton(buttonBar_, QStringLiteral("設定"), QStringLiteral("設"),
                                          QColor(0x40, 0x40, 0x40));
    place(settingsButton);
    connect(settingsButton, &TPanelButton::clicked, this,
            core::guard([] { core::openSettingsDialog(); }));
    auto* help = makeToolButton(buttonBar_, QStringLiteral("ヘルプ"), QStringLiteral("?"),
                                QColor(0x00, 0x00, 0x00));
    place(help);
    connect(help, &TPanelButton::clicked, this, core::guard(this, &MainWindow::Help1Click));

    // The command box and its run button fill the rest of the second row.
    const int boxLeft = 1 + (index - 9) * kStep;
    commandBox_ = new QLineEdit(buttonBar_);
    commandBox_->setGeometry(boxLeft, 28, kContentWidth - boxLeft - 27, 22);
    runButton_ = makeToolButton(buttonBar_, QStringLiteral("実行"), QStringLiteral("▶"),
                                QColor(0x00, 0x60, 0x00));
    runButton_->setGeometry(kContentWidth - 26, 27, 24, 24);
    auto run = [this] {
        const QString command = commandBox_->text().trimmed();
        if (command.isEmpty()) {
            popupMenu(mainMenu_);
            return;
        }
        if (hooks_.runCommand)
            hooks_.runCommand(command);
    };
    connect(commandBox_, &QLineEdit::returnPressed, this, run);
    connect(runButton_, &TPanelButton::clicked, this, run);
}

void MainWindow::buildInfoRow() {
    infoRow_ = new QWidget(this);
    infoRow_->setGeometry(kContentLeft, kButtonBarHeight, kContentWidth, kInfoRowHeight);
    dateLabel_ = makeField(infoRow_, Qt::white, Qt::black);
    timeLabel_ = makeField(infoRow_, Qt::cyan, Qt::black);
    resourceLabel_ = makeField(infoRow_, Qt::yellow, Qt::black);
    dateLabel_->setGeometry(0, 0, 90, kInfoRowHeight);
    timeLabel_->setGeometry(90, 0, 54, kInfoRowHeight);
    resourceLabel_->setGeometry(144, 0, kContentWidth - 144, kInfoRowHeight);
    for (QLabel* field : {dateLabel_, timeLabel_, resourceLabel_})
        field->installEventFilter(this);
}

void MainWindow::buildMonthRow() {
    monthRow_ = new QWidget(this);
    monthRow_->setGeometry(kContentLeft, kBaseHeight, kContentWidth, kMonthRowHeight);
    monthRow_->setAutoFillBackground(true);
    yearLabel_ = makeField(monthRow_, Qt::yellow, Qt::black);
    yearLabel_->setGeometry(0, 0, 44, kMonthRowHeight);
    monthLabel_ = makeField(monthRow_, Qt::white, Qt::blue);
    monthLabel_->setGeometry(44, 0, 28, kMonthRowHeight);
    yearLabel_->installEventFilter(this);
    monthLabel_->installEventFilter(this);

    auto* previous = makeToolButton(monthRow_, QStringLiteral("先月へ"), QStringLiteral("◀"),
                                    QColor(0x00, 0x00, 0x80));
    todayButton_ = makeToolButton(monthRow_, QStringLiteral("今日に戻す｡"), QStringLiteral("今日"),
                                  QColor(0x80, 0x00, 0x00));
    auto* next = makeToolButton(monthRow_, QStringLiteral("翌月へ"), QStringLiteral("▶"),
                                QColor(0x00, 0x00, 0x80));
    previous->setGeometry(80, 0, 40, kMonthRowHeight);
    todayButton_->setGeometry(124, 0, 56, kMonthRowHeight);
    next->setGeometry(184, 0, 40, kMonthRowHeight);
    connect(previous, &TPanelButton::clicked, this, core::guard(this, &MainWindow::BitBtn2Click));
    connect(todayButton_, &TPanelButton::clicked, this,
            core::guard(this, &MainWindow::BitBtn7Click));
    connect(next, &TPanelButton::clicked, this, core::guard(this, &MainWindow::BitBtn1Click));

    calendar_ = new TCalendarEx(this);
    calendar_->setGridLineWidth(0);
    calendar_->setGeometry(kContentLeft, kBaseHeight + kMonthRowHeight, kContentWidth,
                           kCalendarHeight - kBaseHeight - kMonthRowHeight);
    // The main window's design colours until the stored ones are applied.
    const QColor design[kDayColorCount] = {QColor(0x80, 0x80, 0x80), QColor(0xFF, 0, 0),
                                           QColor(0xFF, 0, 0xFF),    QColor(0xFF, 0, 0),
                                           QColor(0, 0, 0xFF),       QColor(0xC0, 0xC0, 0xC0)};
    for (int i = 0; i < kDayColorCount; ++i)
        calendar_->setColorAt(i, design[i]);
    connect(calendar_, &TCalendarEx::OnClick, this,
            core::guard(this, &MainWindow::CalendarEx1Click));
    connect(calendar_, &TCalendarEx::OnChange, this,
            core::guard(this, &MainWindow::CalendarEx1Change));
    connect(calendar_, &TCalendarEx::OnDblClick, this,
            core::guard(this, &MainWindow::CalendarEx1DblClick));
    calendar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(calendar_, &QWidget::customContextMenuRequested, this,
            core::guard([this] { popupMenu(viewMenu_); }));
}

void MainWindow::buildMoonPanel() {
    moonPanel_ = new QWidget(this);
    moonPanel_->setGeometry(kContentLeft, kBaseHeight, kContentWidth, kMoonPanelHeight);
    QPalette pal = moonPanel_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    moonPanel_->setPalette(pal);
    moonPanel_->setAutoFillBackground(true);
    auto text = [this](const QString& caption, int x, int y, int w) {
        auto* label = new QLabel(caption, moonPanel_);
        label->setGeometry(x, y, w, 13);
        return label;
    };
    text(QStringLiteral("Julian Date"), 4, 2, 72);
    julianLabel_ = text(QString(), 80, 2, kContentWidth - 82);
    text(QStringLiteral("Moon phase"), 4, 16, 72);
    phaseLabel_ = text(QString(), 80, 16, kContentWidth - 82);
    moon_ = new TMoon(moonPanel_);
    moon_->move(kMoonAloneX, 31);
    clock_ = new TDRClock(moonPanel_, &clockSource_);
    clock_->setEnabled(false);
    clock_->setGeometry(kMoonWithClockX + 72, 28, 70, 70);
    clock_->setBorder(TDRClock::Border::None);
    clock_->setFaceColor(Qt::black);
    clock_->setPointerColor(Qt::yellow);
    clock_->setSecondsColor(Qt::red);
    clock_->setScaleColor(Qt::white);
    clock_->setDisplayText(false);
    clock_->setDisplayPoints(true);
    clock_->hide();
    text(QStringLiteral("Age of"), 4, 94, 50);
    text(QStringLiteral("the moon"), 4, 104, 50);
    ageLabel_ = text(QString(), 56, 99, kContentWidth - 58);
    moonPanel_->installEventFilter(this);
    for (QObject* child : moonPanel_->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child))
            widget->installEventFilter(this);
    }
    moonPanel_->hide();
}

void MainWindow::buildMenus() {
    auto toolItem = [this](QMenu* menu, const char* caption, Tool tool) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, core::guard([this, tool, action] {
                    action->setChecked(false);
                    openTool(tool);
                }));
        toolActions_.emplace_back(action, tool);
        return action;
    };
    auto shutdownMenu = [this](QMenu* parent) {
        QMenu* sub = parent->addMenu(QStringLiteral("Windowsの終了"));
        connect(sub->addAction(QStringLiteral("Windowsの再起動")), &QAction::triggered, this,
                core::guard(this, &MainWindow::KWindows2Click));
        connect(sub->addAction(QStringLiteral("Windowsの終了")), &QAction::triggered, this,
                core::guard(this, &MainWindow::KWindows1Click));
        return sub;
    };

    mainMenu_ = new QMenu(this);
    mainMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* schedule = mainMenu_->addMenu(QStringLiteral("スケジュール"));
    toolItem(schedule, "ﾎﾟｯﾌﾟｱｯﾌﾟの登録", Tool::PopupRegistration);
    toolItem(schedule, "ｽｹｼﾞｭｰﾙの登録", Tool::ScheduleRegistration);
    toolItem(schedule, "ｽｹｼﾞｭｰﾙ一覧", Tool::ScheduleList);
    toolItem(schedule, "ｽｹｼﾞｭｰﾙ管理", Tool::ScheduleManagement);
    toolItem(schedule, "指定日に移動", Tool::JumpToDate);
    QMenu* personal = mainMenu_->addMenu(QStringLiteral("個人データ"));
    toolItem(personal, "簡易電話帳", Tool::PhoneBook);
    toolItem(personal, "メモ一覧", Tool::MemoList);
    toolItem(personal, "日記タイトル一覧", Tool::DiaryList);
    personal->addSeparator()->setObjectName(QStringLiteral("PeriodSeparator"));
    toolItem(personal, "Period", Tool::Period)->setObjectName(QStringLiteral("PeriodItem"));
    QMenu* mail = mainMenu_->addMenu(QStringLiteral("メール"));
    mail->menuAction()->setObjectName(QStringLiteral("MailMenu"));
    toolItem(mail, "メールチェック", Tool::MailCheck);
    connect(mail->addAction(QStringLiteral("メーラー起動")), &QAction::triggered, this,
            core::guard(this, &MainWindow::startMailer));
    toolItem(mail, "メールの設定", Tool::MailSettings);
    toolItem(mainMenu_, "Todoボード", Tool::TodoBoard);
    toolItem(mainMenu_, "誕生日管理", Tool::Birthdays);
    QMenu* tools = mainMenu_->addMenu(QStringLiteral("ツール"));
    toolItem(tools, "日数計算", Tool::DayCalculator);
    toolItem(tools, "減算タイマー", Tool::CountdownTimer);
    // The publisher's pages: this build knows no addresses for them.
    QMenu* web = mainMenu_->addMenu(QStringLiteral("WEBページ"));
    const char* pages[] = {"掲示板に書き込む／読む", "オンライン（最新）ヘルプ",
                           "動作がおかしいと思ったら", "作者のホームページ"};
    for (int i = 0; i < 4; ++i) {
        QAction* page = web->addAction(QString::fromUtf8(pages[i]));
        page->setEnabled(false);
        page->setVisible(i == 0 || i == 3);
    }
    QMenu* setup = mainMenu_->addMenu(QStringLiteral("設定"));
    connect(setup->addAction(QStringLiteral("環境設定")), &QAction::triggered, this,
            core::guard([] { core::openSettingsDialog(); }));
    toolItem(setup, "関連付けの設定", Tool::FileAssociations);
    QAction* help = setup->addAction(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("HelpItem"));
    connect(help, &QAction::triggered, this, core::guard(this, &MainWindow::Help1Click));
    shutdownMenu(mainMenu_)->menuAction()->setObjectName(QStringLiteral("MainShutdown"));
    connect(mainMenu_->addAction(QStringLiteral("終了(&X)")), &QAction::triggered, this,
            core::guard(this, &MainWindow::KGClock2Click));
    connect(mainMenu_, &QMenu::aboutToShow, this, core::guard(this, &MainWindow::PopupMenu1Popup));

    memoMenu_ = new QMenu(this);
    memoMenu_->setObjectName(QStringLiteral("PopupMenu2"));
    connect(memoMenu_, &QMenu::aboutToShow, this, core::guard(this, &MainWindow::PopupMenu2Popup));
    launcherMenu_ = new QMenu(this);
    launcherMenu_->setObjectName(QStringLiteral("PopupMenu3"));
    connect(launcherMenu_, &QMenu::aboutToShow, this,
            core::guard(this, &MainWindow::PopupMenu3Popup));
    rebuildMemoMenu();
    rebuildLauncherMenu();

    viewMenu_ = new QMenu(this);
    auto* group = new QActionGroup(viewMenu_);
    viewCalendar_ = viewMenu_->addAction(QStringLiteral("カレンダーの表示"));
    viewMoon_ = viewMenu_->addAction(QStringLiteral("月齢の表示"));
    for (QAction* a : {viewCalendar_, viewMoon_}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    connect(viewMoon_, &QAction::triggered, this, core::guard(this, &MainWindow::K7Click));
    connect(viewCalendar_, &QAction::triggered, this, core::guard(this, &MainWindow::K8Click));
    connect(viewMenu_, &QMenu::aboutToShow, this, core::guard([this] {
                viewMoon_->setChecked(moonPanelShown());
                viewCalendar_->setChecked(!moonPanelShown());
            }));
}

void MainWindow::rebuildLauncherMenu() {
    // Tool actions of the old menu go with it.
    for (auto it = toolActions_.begin(); it != toolActions_.end();) {
        if (it->first->parent() == launcherMenu_)
            it = toolActions_.erase(it);
        else
            ++it;
    }
    launcherMenu_->clear();
    if (hooks_.fillLauncherMenu)
        hooks_.fillLauncherMenu(launcherMenu_);
    if (!launcherMenu_->isEmpty())
        launcherMenu_->addSeparator();
    QAction* edit = launcherMenu_->addAction(QStringLiteral("メニューの編集"));
    connect(edit, &QAction::triggered, this,
            core::guard([this] { openTool(Tool::LauncherEditor); }));
    toolActions_.emplace_back(edit, Tool::LauncherEditor);
    QMenu* shutdown = launcherMenu_->addMenu(QStringLiteral("Windowsの終了"));
    shutdown->menuAction()->setObjectName(QStringLiteral("LauncherShutdown"));
    connect(shutdown->addAction(QStringLiteral("Windowsの再起動")), &QAction::triggered, this,
            core::guard(this, &MainWindow::KWindows2Click));
    connect(shutdown->addAction(QStringLiteral("Windowsの終了")), &QAction::triggered, this,
            core::guard(this, &MainWindow::KWindows1Click));
    connect(launcherMenu_->addAction(QStringLiteral("終了(&X)")), &QAction::triggered, this,
            core::guard(this, &MainWindow::KGClock2Click));
    updateToolButtons();
}

void MainWindow::rebuildMemoMenu() {
    for (auto it = toolActions_.begin(); it != toolActions_.end();) {
        if (it->first->parent() == memoMenu_)
            it = toolActions_.erase(it);
        else
            ++it;
    }
    memoMenu_->clear();
    if (hooks_.fillMemoMenu)
        hooks_.fillMemoMenu(memoMenu_);
    if (!memoMenu_->isEmpty())
        memoMenu_->addSeparator();
    QAction* list = memoMenu_->addAction(QStringLiteral("メモ一覧"));
    list->setCheckable(true);
    connect(list, &QAction::triggered, this, core::guard([this, list] {
                list->setChecked(false);
                openTool(Tool::MemoList);
            }));
    toolActions_.emplace_back(list, Tool::MemoList);
    updateToolButtons();
}

void MainWindow::buildTrayIcons() {
    const auto makeIcon = [](const QColor& petals, const QColor& heart) {
        QPixmap pixmap(22, 22);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(petals);
        for (int i = 0; i < 8; ++i) {
            painter.save();
            painter.translate(11, 11);
            painter.rotate(45.0 * i);
            painter.drawEllipse(QRectF(-2.5, -10.5, 5, 9));
            painter.restore();
        }
        painter.setBrush(heart);
        painter.drawEllipse(QRectF(7, 7, 8, 8));
        return QIcon(pixmap);
    };
    launcherIcon_ = new TTrayIcon(this);
    // The application's own daisy when the program has one (the memo icon
    // keeps its own colours, so the two tell apart).
    launcherIcon_->setIcon(QApplication::windowIcon().availableSizes().isEmpty()
                               ? makeIcon(Qt::white, QColor(0xF0, 0xC0, 0x00))
                               : QApplication::windowIcon());
    launcherIcon_->setTipHelp(QString::fromUtf8(kLauncherTip));
    launcherIcon_->setLbPopupMenu(launcherMenu_);
    launcherIcon_->setRbPopupMenu(mainMenu_);
    memoIcon_ = new TTrayIcon(this);
    memoIcon_->setIcon(makeIcon(QColor(0xFF, 0xE0, 0x60), QColor(0x80, 0x40, 0x00)));
    memoIcon_->setRbPopupMenu(memoMenu_);
    memoIcon_->setTipHelp(qs(memoIconTip(infoDoubleClickAction(settings_))));
    connect(memoIcon_, &TTrayIcon::OnDblClick, this, core::guard(this, &MainWindow::runInfoAction));
    // The tip follows [Setup] MIcon_DBLC whenever the mouse passes over it.
    connect(memoIcon_, &TTrayIcon::OnMouseMove, this, core::guard([this] {
                memoIcon_->setTipHelp(qs(memoIconTip(infoDoubleClickAction(settings_))));
            }));
}

}  // namespace hinagiku::mainwindow
