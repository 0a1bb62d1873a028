#include "phonebook/ui/phone_book_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHostInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/sound_cues.h"
#include "core/ui/session_end.h"
#include "phonebook/cell_text.h"
#include "phonebook/dial_text.h"
#include "phonebook/hand_off.h"
#include "phonebook/tab_search.h"
#include "phonebook/tone_plan.h"
#include "phonebook/ui/cell_delegate.h"
#include "phonebook/ui/dial_glyph.h"
#include "phonebook/ui/tab_model.h"
#include "phonebook/ui/title_header.h"
#include "platform/atomic_file.h"
#include "platform/command_line.h"
#include "platform/cp932.h"
#include "platform/program_launcher.h"
#include "platform/sound_output.h"
#include "platform/window_closer.h"

namespace hinagiku::phonebook {
namespace {

constexpr const char* kSection = "TelePhone";
constexpr const char* kWidthSection = "Telephone";
constexpr const char* kWidthKeys[] = {"Width_A", "Width_B", "Width_C", "Width_D", "Width_E"};
const char* const kDefaultCaptions[] = {"電話帳", "あ", "か", "さ", "た", "な",
                                        "は",     "ま", "や", "ら", "わ", "他"};
const char* const kDefaultTitles[] = {"会社名・所属", "氏名",      "電話番号",
                                      "E-Mail",       "Webページ", "IPアドレス"};
const char* const kResultTitles[] = {"項目１", "項目２",    "電話番号",
                                     "E-Mail", "Webページ", "IPアドレス"};
constexpr const char* kTopStatus = "簡易電話帳です。";

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string keyOf(int tab, const char* key) {
    return std::to_string(tab) + key;
}

PhoneBookWindow::MessageSink& defaultSink() {
    static PhoneBookWindow::MessageSink sink;
    return sink;
}

void setHover(QWidget* w, const char* text) {
    w->setProperty("hoverStatus", QString::fromUtf8(text));
}

// The status text of the part under the mouse: a part without its own text
// shows that of the part it lies in.
QVariant hoverStatusOf(const QObject* o) {
    for (; o != nullptr; o = o->parent()) {
        const QVariant text = o->property("hoverStatus");
        if (text.isValid())
            return text;
    }
    return {};
}

}  // namespace

PhoneBookWindow::PhoneBookWindow(platform::Settings& settings, std::filesystem::path folder,
                                 std::unique_ptr<platform::EchoProbe> probe, QWidget* parent)
    : QWidget(parent, Qt::Window),
      settings_(settings),
      folder_(std::move(folder)),
      probe_(std::move(probe)) {
    setWindowTitle(QStringLiteral("簡易電話帳"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (!probe_)
        probe_ = platform::makeSystemEchoProbe();
    sink_ = defaultSink();
    connect(probe_.get(), &platform::EchoProbe::finished, this, &PhoneBookWindow::pingFinished);
    buildUi();

    const int top = std::max(settings_.readInt(kSection, "top", 0), 0);
    const int left = std::max(settings_.readInt(kSection, "left", 0), 0);
    const int width = std::max(settings_.readInt(kSection, "Width", 757), 200);
    const int height = std::max(settings_.readInt(kSection, "Height", 409), 150);
    resize(width, height);
    QPoint at(left, top);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::max(0, std::min(at.x(), area.right() - width)));
        at.setY(std::max(0, std::min(at.y(), area.bottom() - height)));
    }
    move(at);

    // Set from the settings; each writes its key back when set.
    editLock_->setChecked(settings_.readBool(kSection, "Edit", false));
    reorderMode_->setChecked(settings_.readBool(kSection, "Sort", false));
    setEditLock(editLock_->isChecked());
    setReorder(reorderMode_->isChecked());

    int first = settings_.readInt(kWidthSection, "Tab", 0);
    if (first < 0 || first >= kTabCount)
        first = 0;
    showTab(first);
    core::PlaySoundCue(settings_, "ope");
    // Saved at program end (main window closed, SIGTERM, SIGHUP).
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this,
            &PhoneBookWindow::onSessionEnd);
}

PhoneBookWindow::~PhoneBookWindow() {
    stopTones();
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(lookupId_);
    probe_->cancel();
    if (!saved_)
        saveCurrentTab();
}

void PhoneBookWindow::buildUi() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 0);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    for (int i = 0; i < kTabCount; ++i)
        tabs_->addTab(QString());
    setHover(tabs_, "電話帳の項目を切り換えます。");
    outer->addWidget(tabs_);

    // The two rows of controls; the parts of them without a text of their
    // own show the window's.
    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("topRow"));
    setHover(top, kTopStatus);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto* row1 = new QHBoxLayout;
    row1->addWidget(new QLabel(QStringLiteral("電話番号"), top));
    dialField_ = new QLineEdit(top);
    dialField_->setPlaceholderText(QStringLiteral("電話番号を入力"));
    setHover(dialField_,
             "この番号に電話をかけます。(ダイヤラーがインストールされている必要があります。)");
    row1->addWidget(dialField_, 1);
    dialButton_ = new QToolButton(top);
    dialButton_->setIcon(dialGlyph());
    dialButton_->setIconSize(QSize(16, 16));
    dialButton_->setAccessibleName(QStringLiteral("電話をかける"));
    dialButton_->setToolTip(QStringLiteral("電話をかけます。"));
    row1->addWidget(dialButton_);
    editLock_ = new QCheckBox(QStringLiteral("編集不可"), top);
    setHover(editLock_, "チェックすると編集が出来なくなります。");
    row1->addWidget(editLock_);
    reorderMode_ = new QCheckBox(QStringLiteral("並び変えモード"), top);
    setHover(reorderMode_, "マウスのドラッグで並べ替えが可能です。");
    row1->addWidget(reorderMode_);
    speakerButton_ = new QPushButton(QStringLiteral("スピーカー"), top);
    speakerButton_->setToolTip(QStringLiteral("受話器をスピーカに近づけて下さい。"));
    row1->addWidget(speakerButton_);
    mailButton_ = new QPushButton(QStringLiteral("E-Mail"), top);
    mailButton_->setToolTip(QStringLiteral("E-Mailを発信します。"));
    row1->addWidget(mailButton_);
    webButton_ = new QPushButton(QStringLiteral("Web"), top);
    webButton_->setToolTip(QStringLiteral("Webページを表示します。"));
    row1->addWidget(webButton_);
    topLayout->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->addWidget(new QLabel(QStringLiteral("検索文字"), top));
    searchField_ = new QLineEdit(top);
    row2->addWidget(searchField_, 1);
    searchButton_ = new QPushButton(QStringLiteral("検索"), top);
    searchButton_->setToolTip(QStringLiteral("検索を開始します。"));
    row2->addWidget(searchButton_);
    row2->addWidget(new QLabel(QStringLiteral("IP"), top));
    ipField_ = new QLineEdit(top);
    row2->addWidget(ipField_, 1);
    pingButton_ = new QPushButton(QStringLiteral("Ping"), top);
    pingButton_->setToolTip(QStringLiteral("Pingを打ちます。"));
    row2->addWidget(pingButton_);
    topLayout->addLayout(row2);
    outer->addWidget(top);

    // The title cells sit right on top of the grid; the grid's own header
    // stays hidden and its columns follow the title cells.
    auto* grid = new QVBoxLayout;
    grid->setSpacing(0);
    titleHeader_ = new TitleHeader(this);
    setHover(titleHeader_, "境界線のドラッグでサイズ変更ができます。");
    grid->addWidget(titleHeader_);
    model_ = new TabModel(this);
    view_ = new QTableView(this);
    view_->setModel(model_);
    view_->setItemDelegate(new CellDelegate(view_));
    view_->setWordWrap(false);  // one line of 15 pixels a row
    // Rows of 15 pixels, or as tall as the font needs: the minimum first, or
    // the style's larger one clamps the default.
    const int rowHeight = std::max(15, view_->fontMetrics().height() + 2);
    view_->verticalHeader()->setMinimumSectionSize(rowHeight);
    view_->verticalHeader()->setDefaultSectionSize(rowHeight);
    view_->verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("256")) +
                                           12);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(false);
    view_->horizontalHeader()->setMinimumSectionSize(0);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    setHover(view_, "電話番号リストです。");
    grid->addWidget(view_, 1);
    outer->addLayout(grid, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    statusMessage_ = QString::fromUtf8(kTopStatus);
    status_->setText(statusMessage_);
    setHover(status_, kTopStatus);
    outer->addWidget(status_);

    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (index != tab_ && !showTab(index)) {
            const QSignalBlocker block(tabs_);
            tabs_->setCurrentIndex(tab_);
        }
    });
    connect(model_, &TabModel::editRefused, this,
            [this](const QString& text) { message(MessageKind::Warning, text); });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { updateRowFields(); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { updateRowFields(); });
    connect(view_->verticalHeader(), &QHeaderView::sectionMoved, this,
            [this] { model_->setDirty(true); });
    connect(titleHeader_, &TitleHeader::widthsChanged, this, &PhoneBookWindow::storeWidths);
    connect(titleHeader_, &TitleHeader::resized, this, &PhoneBookWindow::applyColumnWidths);
    connect(editLock_, &QCheckBox::toggled, this, [this](bool on) { setEditLock(on); });
    connect(reorderMode_, &QCheckBox::toggled, this, [this](bool on) { setReorder(on); });
    connect(searchButton_, &QPushButton::clicked, this, [this] { search(searchField_->text()); });
    connect(searchField_, &QLineEdit::returnPressed, this,
            [this] { search(searchField_->text()); });
    connect(speakerButton_, &QPushButton::clicked, this, &PhoneBookWindow::startTones);
    connect(mailButton_, &QPushButton::clicked, this, &PhoneBookWindow::sendMail);
    connect(webButton_, &QPushButton::clicked, this, &PhoneBookWindow::openWebPage);
    connect(dialButton_, &QToolButton::clicked, this, &PhoneBookWindow::dialModem);
    auto* dialShortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+D")), this);
    connect(dialShortcut, &QShortcut::activated, this, &PhoneBookWindow::dialModem);
    connect(pingButton_, &QPushButton::clicked, this, &PhoneBookWindow::ping);
    connect(ipField_, &QLineEdit::returnPressed, this, [this] {
        if (pingButton_->isEnabled())
            ping();
    });
    connect(ipField_, &QLineEdit::textChanged, this, [this] { updateButtons(); });
    connect(view_, &QWidget::customContextMenuRequested, this, &PhoneBookWindow::showContextMenu);
}

QString PhoneBookWindow::statusText() const {
    return status_->text();
}

bool PhoneBookWindow::eventFilter(QObject* watched, QEvent* event) {
    // Entering a part shows its text; leaving it shows that of the part
    // around it, which the mouse is over now.
    const QObject* over = event->type() == QEvent::Enter   ? watched
                          : event->type() == QEvent::Leave ? watched->parent()
                                                           : nullptr;
    if (over != nullptr) {
        const QVariant hover = hoverStatusOf(over);
        if (hover.isValid())
            status_->setText(hover.toString());
    }
    return QWidget::eventFilter(watched, event);
}

void PhoneBookWindow::setDefaultMessageSink(MessageSink sink) {
    defaultSink() = std::move(sink);
}

void PhoneBookWindow::message(MessageKind kind, const QString& text) {
    if (sink_) {
        sink_(kind, text);
        return;
    }
    if (defaultSink()) {
        defaultSink()(kind, text);
        return;
    }
    QApplication::beep();
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const auto icon = kind == MessageKind::Information ? QMessageBox::Information
                      : kind == MessageKind::Warning   ? QMessageBox::Warning
                                                       : QMessageBox::Critical;
    QMessageBox box(icon, windowTitle(), shown, QMessageBox::Ok, this);
    box.exec();
}

void PhoneBookWindow::applyTitles() {
    for (int i = 0; i < kIndexTabCount; ++i) {
        tabs_->setTabText(
            i, q(settings_.readText(kSection, "Title_" + std::to_string(i), kDefaultCaptions[i])));
    }
    tabs_->setTabText(kSearchTab, QStringLiteral("検索結果"));
    QStringList titles;
    for (int c = 0; c < kColumnCount; ++c) {
        if (tab_ == kSearchTab) {
            titles << QString::fromUtf8(kResultTitles[c]);
        } else {
            titles << q(settings_.readText(kSection, keyOf(tab_, "Section_") + std::to_string(c),
                                           kDefaultTitles[c]));
        }
    }
    model_->setTitles(titles);
    titleHeader_->setTitles(titles);
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Base, tab_ == kSearchTab
                                         ? palette.color(QPalette::Midlight)
                                         : QApplication::palette().color(QPalette::Base));
    view_->setPalette(palette);
}

void PhoneBookWindow::applyWidths() {
    TitleHeader::Widths widths{};
    for (int c = 0; c < TitleHeader::kResizable; ++c) {
        const int fallback = c == 4 ? 169 : 100;
        int w = settings_.readInt(kWidthSection, keyOf(tab_, kWidthKeys[c]), fallback);
        if (w <= 0)
            w = fallback;
        widths[c] = w;
    }
    titleHeader_->setWidths(widths);
}

void PhoneBookWindow::storeWidths() {
    TitleHeader::Widths widths = titleHeader_->widths();
    int total = (TitleHeader::kResizable - 1) * TitleHeader::kSplitter;
    for (const int w : widths)
        total += w;
    if (titleHeader_->width() - titleHeader_->indent() < total) {
        // The header cannot hold the five title cells: back to the default.
        widths.fill(100);
        titleHeader_->setWidths(widths);
    }
    for (int c = 0; c < TitleHeader::kResizable; ++c)
        settings_.writeInt(kWidthSection, keyOf(tab_, kWidthKeys[c]), widths[c]);
    applyColumnWidths();
}

void PhoneBookWindow::applyColumnWidths() {
    // Each column starts under its title cell (a grid line is 1 pixel, a
    // splitter 2); the last one stops short of the scroll bar, which the
    // title cells span.
    view_->setColumnWidth(0, titleHeader_->cellWidth(0));
    for (int c = 1; c < TitleHeader::kResizable; ++c)
        view_->setColumnWidth(c, titleHeader_->cellWidth(c) + 1);
    const int scrollBar = view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                      view_->verticalScrollBar());
    view_->setColumnWidth(5, std::max(titleHeader_->cellWidth(5) - scrollBar, 0));
}

TabGrid PhoneBookWindow::gridInViewOrder() const {
    const QHeaderView* rows = view_->verticalHeader();
    TabGrid grid;
    for (int visual = 0; visual < kRowCount; ++visual) {
        const int logical = rows->logicalIndex(visual);
        grid.rows[visual] = model_->grid().rows[logical < 0 ? visual : logical];
    }
    return grid;
}

void PhoneBookWindow::resetRowOrder() {
    QHeaderView* rows = view_->verticalHeader();
    const QSignalBlocker block(rows);
    for (int i = 0; i < kRowCount; ++i) {
        const int visual = rows->visualIndex(i);
        if (visual != i)
            rows->moveSection(visual, i);
    }
}

bool PhoneBookWindow::saveCurrentTab() {
    if (tab_ < 0)
        return true;
    // An editor still open commits first (its slots are protected but invokable).
    for (QWidget* editor :
         view_->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible())
            continue;
        QMetaObject::invokeMethod(view_, "commitData", Qt::DirectConnection,
                                  Q_ARG(QWidget*, editor));
        QMetaObject::invokeMethod(
            view_, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
            Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
    if (!model_->dirty() || file_.damaged())
        return true;
    const TabGrid grid = gridInViewOrder();
    try {
        std::error_code ec;
        std::filesystem::create_directory(folder_, ec);
        saveTabFile(file_, grid);
    } catch (const std::exception& e) {
        message(
            MessageKind::Error,
            QStringLiteral("電話帳を保存できませんでした。編集した内容はそのまま残っています。\r") +
                QString::fromStdString(file_.path.string()) + QStringLiteral("\r") +
                QString::fromUtf8(e.what()));
        return false;
    }
    const QModelIndex current = view_->currentIndex();
    resetRowOrder();
    model_->setGrid(grid);
    if (current.isValid())
        view_->setCurrentIndex(model_->index(current.row(), current.column()));
    return true;
}

bool PhoneBookWindow::showTab(int tab) {
    if (tab < 0 || tab >= kTabCount)
        return false;
    stopTones();
    if (!saveCurrentTab())
        return false;
    core::PlaySoundCue(settings_, "c1");
    tab_ = tab;
    {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(tab);
    }
    applyTitles();
    applyWidths();
    std::error_code ec;
    std::filesystem::create_directory(folder_, ec);
    file_ = readTabFile(folder_, tab);
    resetRowOrder();
    model_->setGrid(file_.content.grid);
    model_->setReadOnly(editLock_->isChecked() || file_.damaged());
    view_->setEditTriggers(model_->readOnly() ? QAbstractItemView::NoEditTriggers
                                              : QAbstractItemView::DoubleClicked |
                                                    QAbstractItemView::EditKeyPressed |
                                                    QAbstractItemView::AnyKeyPressed);
    view_->setCurrentIndex(model_->index(0, 0));
    if (editLock_->isChecked())
        view_->selectRow(0);
    view_->scrollToTop();
    updateRowFields();
    if (file_.damaged()) {
        message(MessageKind::Warning,
                QString::fromStdString(file_.path.string()) +
                    QStringLiteral("\rこのファイルは読み取り専用で開きました（") +
                    QString::fromStdString(file_.content.damage) + QStringLiteral("）。"));
    }
    return true;
}

void PhoneBookWindow::updateRowFields() {
    const int row = std::max(view_->currentIndex().row(), 0);
    const Row& cells = model_->grid().rows[row];
    const QSignalBlocker blockDial(dialField_);
    const QSignalBlocker blockIp(ipField_);
    dialField_->setText(q(displayCell(cells[2])));
    ipField_->setText(q(displayCell(cells[5])));
    updateButtons();
}

void PhoneBookWindow::updateButtons() {
    const int row = std::max(view_->currentIndex().row(), 0);
    const Row& cells = model_->grid().rows[row];
    mailButton_->setEnabled(!cells[3].empty());
    webButton_->setEnabled(!cells[4].empty());
    const bool canPing = !ipField_->text().trimmed().isEmpty() && !pinging_;
    pingButton_->setEnabled(canPing);
    QPalette palette = ipField_->palette();
    palette.setColor(QPalette::Base, canPing ? QApplication::palette().color(QPalette::Base)
                                             : QApplication::palette().color(QPalette::Button));
    ipField_->setPalette(palette);
}

void PhoneBookWindow::setEditLock(bool on) {
    settings_.writeBool(kSection, "Edit", on);
    model_->setReadOnly(on || file_.damaged());
    view_->setEditTriggers(model_->readOnly() ? QAbstractItemView::NoEditTriggers
                                              : QAbstractItemView::DoubleClicked |
                                                    QAbstractItemView::EditKeyPressed |
                                                    QAbstractItemView::AnyKeyPressed);
    view_->setSelectionBehavior(on ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
    view_->setSelectionMode(on ? QAbstractItemView::SingleSelection
                               : QAbstractItemView::ExtendedSelection);
}

void PhoneBookWindow::setReorder(bool on) {
    settings_.writeBool(kSection, "Sort", on);
    // Rows are dragged by their handles, shown only for reordering.
    view_->verticalHeader()->setSectionsMovable(on);
    view_->verticalHeader()->setVisible(on);
    titleHeader_->setIndent(on ? view_->verticalHeader()->maximumWidth() : 0);
}

void PhoneBookWindow::search(const QString& text) {
    stopTones();
    if (!saveCurrentTab())
        return;
    const std::string utf8 = text.toStdString();
    if (!platform::fitsCp932(utf8)) {
        message(MessageKind::Warning,
                QStringLiteral("検索文字に電話帳で使えない文字が含まれています。"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SearchResult result;
    try {
        std::error_code ec;
        std::filesystem::create_directory(folder_, ec);
        result = searchAndStore(folder_, platform::toCp932(utf8));
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        message(MessageKind::Error,
                QStringLiteral("検索結果を保存できませんでした。\r") + QString::fromUtf8(e.what()));
        return;
    }
    tab_ = -1;  // the results tab is read fresh, not saved over
    showTab(kSearchTab);
    statusMessage_ = QStringLiteral("「") + text + QStringLiteral("」の検索を終了しました。");
    if (result.leftOut > 0)
        statusMessage_ +=
            QStringLiteral("（ほかに%1件は表示しきれませんでした）").arg(result.leftOut);
    status_->setText(statusMessage_);
    QApplication::restoreOverrideCursor();
    view_->setFocus();
}

void PhoneBookWindow::sendMail() {
    const int row = std::max(view_->currentIndex().row(), 0);
    const HandOff h = planMail(settings_.readText(kSection, "Mailer", ""),
                               displayCell(model_->grid().rows[row][3]));
    if (h.refused) {
        message(MessageKind::Warning, q(h.message));
        return;
    }
    const auto result = platform::programLauncher().start(h.program, h.parameters);
    if (!result.started)
        message(MessageKind::Warning, q(result.message));
}

void PhoneBookWindow::openWebPage() {
    const int row = std::max(view_->currentIndex().row(), 0);
    const HandOff h = planWeb(settings_.readText(kSection, "Browser", ""),
                              displayCell(model_->grid().rows[row][4]));
    if (h.refused) {
        message(MessageKind::Warning, q(h.message));
        return;
    }
    const auto result = platform::programLauncher().start(h.program, h.parameters);
    if (!result.started)
        message(MessageKind::Warning, q(result.message));
}

void PhoneBookWindow::dialModem() {
    const int row = std::max(view_->currentIndex().row(), 0);
    const Row& cells = model_->grid().rows[row];
    const std::string party = displayCell(cells[1]) + "(" + displayCell(cells[0]) + ")";
    const DialPlan plan = planDial(settings_.readText(kSection, "Dialer", ""),
                                   dialField_->text().toStdString(), party);
    if (!plan.message.empty()) {
        message(MessageKind::Warning, q(plan.message));
        return;
    }
    const auto result = plan.open ? platform::programLauncher().start(plan.uri)
                                  : platform::programLauncher().start(
                                        plan.program, platform::joinCommandLine(plan.arguments));
    if (!result.started)
        message(MessageKind::Warning, q(result.message));
}

void PhoneBookWindow::startTones() {
    if (toneIndex_ >= 0)
        return;
    toneCharacters_ = dialCharacters(dialField_->text().toStdString());
    if (toneCharacters_.empty())
        return;
    toneIndex_ = 0;
    speakerButton_->setEnabled(false);
    if (speakerAction_)
        speakerAction_->setEnabled(false);
    playNextTone();
}

void PhoneBookWindow::playNextTone() {
    if (toneIndex_ < 0)
        return;
    if (toneIndex_ >= static_cast<int>(toneCharacters_.size())) {
        stopTones();
        return;
    }
    // Sleep is read anew for every character.
    const ToneStep step =
        toneStep(toneCharacters_[toneIndex_], settings_.readInt(kSection, "Sleep", 100));
    QPointer<PhoneBookWindow> self(this);
    platform::soundOutput().playTone(stepWave(step), [self] {
        if (!self || self->toneIndex_ < 0)
            return;
        ++self->toneIndex_;
        self->playNextTone();
    });
}

void PhoneBookWindow::stopTones() {
    if (toneIndex_ < 0)
        return;
    toneIndex_ = -1;
    platform::soundOutput().stopTone();
    speakerButton_->setEnabled(true);
    if (speakerAction_)
        speakerAction_->setEnabled(true);
}

void PhoneBookWindow::ping() {
    const QString field = ipField_->text().trimmed();
    if (field.isEmpty() || pinging_)
        return;
    pinging_ = true;
    updateButtons();
    QHostAddress direct;
    if (direct.setAddress(field)) {
        pingResolved(field, direct);
        return;
    }
    QPointer<PhoneBookWindow> self(this);
    lookupId_ = QHostInfo::lookupHost(field, this, [self, field](const QHostInfo& info) {
        if (!self)
            return;
        self->lookupId_ = -1;
        QHostAddress chosen;
        for (const auto& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                chosen = a;
                break;
            }
        }
        if (chosen.isNull() && !info.addresses().isEmpty())
            chosen = info.addresses().front();
        self->pingResolved(field, info.error() == QHostInfo::NoError ? chosen : QHostAddress());
    });
}

void PhoneBookWindow::pingResolved(const QString& field, const QHostAddress& address) {
    if (address.isNull()) {
        finishPing();
        message(MessageKind::Warning, field + QStringLiteral("が検出できません。"));
        return;
    }
    probe_->probe(address);
}

void PhoneBookWindow::pingFinished(const platform::EchoProbe::Outcome& outcome) {
    finishPing();
    const QString address = outcome.address.toString();
    switch (outcome.kind) {
        case platform::EchoProbe::Outcome::Kind::Reply:
            message(MessageKind::Information, QStringLiteral("Pinging ") + address +
                                                  QStringLiteral("\r\r") +
                                                  QString::number(outcome.milliseconds) +
                                                  QStringLiteral(" msecs.で応答がありました。"));
            break;
        case platform::EchoProbe::Outcome::Kind::NoReply:
            message(MessageKind::Warning, address + QStringLiteral("の応答がありません。"));
            break;
        case platform::EchoProbe::Outcome::Kind::Unavailable:
            message(MessageKind::Error, QStringLiteral("Pingを送れません: ") + outcome.reason);
            break;
    }
}

void PhoneBookWindow::finishPing() {
    pinging_ = false;
    updateButtons();
}

void PhoneBookWindow::showContextMenu(const QPoint& pos) {
    QMenu menu(this);
    QMenu* call = menu.addMenu(QStringLiteral("電話をかける"));
    call->addAction(QStringLiteral("モデム"), this, &PhoneBookWindow::dialModem);
    speakerAction_ =
        call->addAction(QStringLiteral("スピーカー"), this, &PhoneBookWindow::startTones);
    speakerAction_->setEnabled(toneIndex_ < 0);
    QMenu* net = menu.addMenu(QStringLiteral("インターネット"));
    net->addAction(QStringLiteral("Ping"), this, &PhoneBookWindow::ping)
        ->setEnabled(pingButton_->isEnabled());
    net->addAction(QStringLiteral("E-Mail"), this, &PhoneBookWindow::sendMail)
        ->setEnabled(mailButton_->isEnabled());
    net->addAction(QStringLiteral("Webページ"), this, &PhoneBookWindow::openWebPage)
        ->setEnabled(webButton_->isEnabled());
    QAction* lock = menu.addAction(QStringLiteral("編集不可"));
    lock->setCheckable(true);
    lock->setChecked(editLock_->isChecked());
    connect(lock, &QAction::triggered, editLock_, &QCheckBox::setChecked);
    QAction* sort = menu.addAction(QStringLiteral("並び変えモード"));
    sort->setCheckable(true);
    sort->setChecked(reorderMode_->isChecked());
    connect(sort, &QAction::triggered, reorderMode_, &QCheckBox::setChecked);
    menu.addAction(QStringLiteral("閉じる"), this, &QWidget::close);
    menu.exec(view_->viewport()->mapToGlobal(pos));
    speakerAction_ = nullptr;
}

void PhoneBookWindow::onSessionEnd() {
    if (!saved_ && saveCurrentTab())
        saved_ = true;
}

void PhoneBookWindow::closeEvent(QCloseEvent* event) {
    stopTones();
    // Edits that cannot be saved keep the window open.
    if (!saveCurrentTab()) {
        event->ignore();
        return;
    }
    saved_ = true;
    if (lookupId_ >= 0) {
        QHostInfo::abortHostLookup(lookupId_);
        lookupId_ = -1;
    }
    probe_->cancel();
    settings_.writeInt(kSection, "top", y());
    settings_.writeInt(kSection, "left", x());
    settings_.writeInt(kSection, "Height", height());
    settings_.writeInt(kSection, "Width", width());
    settings_.writeInt(kWidthSection, "Tab", tab_);
    core::PlaySoundCue(settings_, "clo");
    if (settings_.readBool(kSection, "Close", false)) {
        const std::string title = settings_.readText(kSection, "CloseTitle", "ﾀﾞｲﾔﾗｰ");
        bool ours = false;
        for (const QWidget* w : QApplication::topLevelWidgets())
            ours = ours || w->windowTitle().contains(q(title));
        if (!title.empty() && !ours)
            platform::windowCloser().closeWindowByTitle(title);
    }
    event->accept();
}

}  // namespace hinagiku::phonebook
