#include "schedule/agenda/ui/schedule_list_window.h"

#include <fontconfig/fontconfig.h>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <exception>

#include "core/home_folder.h"
#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "core/ui/busy_notice.h"
#include "mainwindow/ui/color_value.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/agenda/ui/window_placement.h"
#include "schedule/ui/popup_editor.h"

namespace hinagiku::schedule {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kNavy = 0x800000;
constexpr int kEdgeWidth = 5;

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QSpinBox* spinBox(QWidget* parent, const char* name, int min, int max) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setKeyboardTracking(false);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// The busy notice and the wait cursor for one build; both end however the
// build ends.
class BusyGuard {
  public:
    BusyGuard() : notice_(QStringLiteral("スケジュールを読み込んでいます。")) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        notice_.showNow();
    }
    ~BusyGuard() {
        QApplication::restoreOverrideCursor();
        notice_.close();
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    core::BusyNotice notice_;
};

QString joinedLines(const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += qs(lines[i]);
    }
    return text;
}

}  // namespace

QFont japaneseFixedFont() {
    static const QString family = [] {
        QString name = QStringLiteral("monospace");
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("monospace:lang=ja"));
        if (pattern == nullptr)
            return name;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* value = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch && value)
                name = QString::fromUtf8(reinterpret_cast<const char*>(value));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return name;
    }();
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

ScheduleListWindow::ScheduleListWindow(platform::Settings& settings, const platform::Clock& clock,
                                       AgendaHost host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      host_(std::move(host)) {
    setObjectName(QStringLiteral("ScheduleListWindow"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // The side borders move the window: its width is the main window's.
    leftEdge_ = new QWidget(this);
    rightEdge_ = new QWidget(this);
    for (QWidget* edge : {leftEdge_, rightEdge_}) {
        edge->setFixedWidth(kEdgeWidth);
        edge->setCursor(Qt::SizeAllCursor);
        edge->installEventFilter(this);
    }
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 3, 0, 3);
    layout->setSpacing(3);
    outer->addWidget(leftEdge_);
    outer->addLayout(layout, 1);
    outer->addWidget(rightEdge_);

    auto* dateRow = new QHBoxLayout;
    year_ = spinBox(this, "year", 1, 9999);
    month_ = spinBox(this, "month", 1, 12);
    day_ = spinBox(this, "day", 1, 31);
    dateRow->addWidget(year_);
    dateRow->addWidget(new QLabel(QStringLiteral("/"), this));
    dateRow->addWidget(month_);
    dateRow->addWidget(new QLabel(QStringLiteral("/"), this));
    dateRow->addWidget(day_);
    todayButton_ = button(this, "today", "今日に戻す｡");
    dateRow->addWidget(todayButton_);
    layout->addLayout(dateRow);
    auto* spanRow = new QHBoxLayout;
    before_ = spinBox(this, "before", 0, kMaxListDays);
    after_ = spinBox(this, "after", 0, kMaxListDays);
    spanRow->addWidget(before_);
    spanRow->addWidget(new QLabel(QStringLiteral("日前～"), this));
    spanRow->addWidget(after_);
    spanRow->addWidget(new QLabel(QStringLiteral("日後"), this));
    listButton_ = button(this, "list", "一覧");
    spanRow->addWidget(listButton_);
    layout->addLayout(spanRow);
    auto* editorRow = new QHBoxLayout;
    popupButton_ = button(this, "popup", "ポップアップ");
    todoButton_ = button(this, "todo", "スケジュール");
    editorRow->addWidget(popupButton_);
    editorRow->addWidget(todoButton_);
    layout->addLayout(editorRow);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("boxes"));
    splitter_->setChildrenCollapsible(false);
    const char* names[] = {"pastBox", "todayBox", "futureBox"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QPlainTextEdit(splitter_);
        box->setObjectName(QString::fromLatin1(names[i]));
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setFont(japaneseFixedFont());
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        box->setMinimumHeight(1);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box](const QPoint& p) { showBoxMenu(box, box->mapToGlobal(p)); });
        boxes_[i] = box;
        splitter_->addWidget(box);
    }
    layout->addWidget(splitter_, 1);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = splitter_->sizes();
        if (std::any_of(sizes.begin(), sizes.end(), [](int s) { return s <= 1; }))
            restoreSizes();
    });

    for (QSpinBox* box : {year_, month_, day_, before_, after_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            if (updating_ == 0)
                fieldsChanged();
        });
    }
    connect(listButton_, &QPushButton::clicked, this, &ScheduleListWindow::build);
    connect(todayButton_, &QPushButton::clicked, this, &ScheduleListWindow::backToToday);
    connect(popupButton_, &QPushButton::clicked, this, [this] {
        const CivilDate date = host_.calendarDate ? host_.calendarDate() : base_;
        const auto day = encodeDate(date);
        openPopupEditor(settings_, clock_, static_cast<DateTime>(day.value_or(dayNumberOf(base_))));
    });
    connect(todoButton_, &QPushButton::clicked, this, [this] {
        CivilDate date = host_.calendarDate ? host_.calendarDate() : base_;
        if (!encodeDate(date))
            date = base_;
        openToDoEditor(settings_, clock_, host_, date);
    });

    const ListSpan span = readListSpan(settings_);
    ++updating_;
    before_->setValue(span.before);
    after_->setValue(span.after);
    --updating_;
    backToToday();
    placeBeforeShowing(
        this, {settings_.readInt("Sch_List", "left", 0), settings_.readInt("Sch_List", "top", 0)});
}

void ScheduleListWindow::setBaseFields(long long year, long long month, long long day) {
    base_ = correctedDate(year, month, day);
    ++updating_;
    year_->setValue(base_.year);
    month_->setValue(base_.month);
    day_->setValue(base_.day);
    --updating_;
    todayButton_->setEnabled(!(base_ == decodeDate(clock_.now())));
    listButton_->setEnabled(true);
}

void ScheduleListWindow::setSpan(int before, int after) {
    ++updating_;
    before_->setValue(before);
    after_->setValue(after);
    --updating_;
    listButton_->setEnabled(true);
}

void ScheduleListWindow::fieldsChanged() {
    setBaseFields(year_->value(), month_->value(), day_->value());
}

void ScheduleListWindow::backToToday() {
    const CivilDate today = decodeDate(clock_.now());
    setBaseFields(today.year, today.month, today.day);
}

void ScheduleListWindow::backToTodayAndBuild() {
    backToToday();
    build();
}

DateTime ScheduleListWindow::baseDate() const {
    return static_cast<DateTime>(dayNumberOf(base_));
}

bool ScheduleListWindow::listEnabled() const {
    return listButton_->isEnabled();
}

void ScheduleListWindow::build() {
    listButton_->setEnabled(false);
    const DateTime now = clock_.now();
    const DateTime today = static_cast<DateTime>(dayNumber(now));
    const ListSpan span{before_->value(), after_->value()};
    {
        BusyGuard busy;
        writeListSettings(settings_, baseDate(), today, span);
        for (QPlainTextEdit* box : boxes_)
            box->clear();
        applyColors();
        agenda_ = buildAgenda(baseDate(), span, today, settings_);
        setWindowTitle(qs(agenda_.caption));
        boxes_[0]->setPlainText(joinedLines(agenda_.past));
        boxes_[1]->setPlainText(joinedLines(agenda_.today));
        boxes_[2]->setPlainText(joinedLines(agenda_.future));
        for (QPlainTextEdit* box : {boxes_[1], boxes_[2]})
            box->moveCursor(QTextCursor::Start);
    }
    if (!agenda_.errors.empty()) {
        QStringList lines;
        for (const std::string& error : agenda_.errors)
            lines << qs(error);
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("読み込めない予定がありました。\n") + lines.join(QLatin1Char('\n')));
    }
}

void ScheduleListWindow::applyColors() {
    struct Keys {
        const char* text;
        const char* back;
        int textDefault;
        int backDefault;
    };
    const Keys keys[3] = {
        {"PastColor", "PastBackColor", kWhite, mainwindow::kSysActiveCaption},
        {"TodayColor", "TodayBackColor", kWhite, mainwindow::kSysButtonShadow},
        {"FutureColor", "FutureBackColor", kNavy, mainwindow::kSysMenu},
    };
    for (int i = 0; i < 3; ++i) {
        QPalette palette = boxes_[i]->palette();
        const QPalette system = QApplication::palette();
        palette.setColor(
            QPalette::Text,
            mainwindow::colorFromValue(
                settings_.readInt("To_do", keys[i].text, keys[i].textDefault), system));
        palette.setColor(
            QPalette::Base,
            mainwindow::colorFromValue(
                settings_.readInt("To_do", keys[i].back, keys[i].backDefault), system));
        boxes_[i]->setPalette(palette);
    }
}

std::string ScheduleListWindow::outputText() const {
    return agendaText(agenda_, clock_.now());
}

void ScheduleListWindow::printTo(QPrinter& printer) const {
    printer.setDocName(qs(agenda_.caption));
    QTextDocument document;
    document.setDefaultFont(japaneseFixedFont());
    QString text = qs(outputText());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    document.setPlainText(text);
    document.print(&printer);
}

void ScheduleListWindow::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        printTo(printer);
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
    }
}

void ScheduleListWindow::saveText() {
    const QString proposed =
        QString::fromStdString((core::homeFolder() / kTodoListFileName).string());
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("テキスト出力"), proposed,
                                     QStringLiteral("Text files (*.TXT *.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    writeTextFile(path.toStdString());
}

bool ScheduleListWindow::writeTextFile(const std::filesystem::path& path) {
    try {
        if (!writeTodoList(path, outputText())) {
            QMessageBox::information(
                this, windowTitle(),
                QStringLiteral("Shift-JISで表せない文字は「?」として書き出しました。"));
        }
    } catch (const std::exception& e) {
        QApplication::beep();
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("書き出せませんでした。\n") + QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void ScheduleListWindow::showBoxMenu(QPlainTextEdit* box, const QPoint& globalPos) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)"));
    QAction* all = menu.addAction(QStringLiteral("すべてを選択(&S)"));
    menu.addSeparator();
    QAction* save = menu.addAction(QStringLiteral("テキスト出力"));
    QAction* print = menu.addAction(QStringLiteral("印刷"));
    menu.addSeparator();
    QAction* close = menu.addAction(QStringLiteral("閉じる"));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == copy)
        box->copy();
    else if (chosen == all)
        box->selectAll();
    else if (chosen == save)
        saveText();
    else if (chosen == print)
        this->print();
    else if (chosen == close)
        this->close();
}

bool ScheduleListWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == leftEdge_ || watched == rightEdge_) &&
        event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && windowHandle()) {
            windowHandle()->startSystemMove();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ScheduleListWindow::restoreSizes() {
    const int area = std::max(3, splitter_->height() - 2 * splitter_->handleWidth());
    splitter_->setSizes({area / 3, area / 3, area - 2 * (area / 3)});
}

void ScheduleListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QList<int> sizes = splitter_->sizes();
    if (shown_ && std::any_of(sizes.begin(), sizes.end(), [](int s) { return s <= 1; }))
        restoreSizes();
}

void ScheduleListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shown_)
        return;
    shown_ = true;
    const int width = host_.mainWindowWidth ? host_.mainWindowWidth() : 240;
    setFixedWidth(std::max(width, 160));
    const int frame = frameGeometry().height() - geometry().height();
    const int height = std::clamp(settings_.readInt("Sch_List", "Height", 300), 200,
                                  std::max(200, screenHeight() - frame));
    resize(this->width(), height);
    move(placedOnScreen(
        {settings_.readInt("Sch_List", "left", 0), settings_.readInt("Sch_List", "top", 0)},
        frameGeometry().size()));
    // The stored box heights, when they leave each box some room.
    const int area = splitter_->height() - 2 * splitter_->handleWidth();
    const int third = std::max(1, area / 3);
    const int past = settings_.readInt("Sch_List", "PastHeight", third);
    const int today = settings_.readInt("Sch_List", "TodayHeight", past);
    if (past > 1 && today > 1 && past + today < area - 1)
        splitter_->setSizes({past, today, area - past - today});
    else
        restoreSizes();
    core::PlaySoundCue(settings_, "ope");
    build();
}

void ScheduleListWindow::closeEvent(QCloseEvent* event) {
    settings_.writeInt("Sch_List", "top", pos().y());
    settings_.writeInt("Sch_List", "left", pos().x());
    settings_.writeInt("Sch_List", "Height", height());
    settings_.writeInt("Sch_List", "Width", width());
    const QList<int> sizes = splitter_->sizes();
    settings_.writeInt("Sch_List", "PastHeight", sizes.value(0));
    settings_.writeInt("Sch_List", "TodayHeight", sizes.value(1));
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

}  // namespace hinagiku::schedule
