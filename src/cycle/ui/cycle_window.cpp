#include "cycle/ui/cycle_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "core/ui/busy_notice.h"
#include "cycle/cycle_math.h"

namespace hinagiku::cycle {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

class Updating {
  public:
    explicit Updating(int& counter) : counter_(counter) { ++counter_; }
    ~Updating() { --counter_; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

  private:
    int& counter_;
};

// Three characters for typing only: setText (the averages the program puts
// in) is not held to it, unlike QLineEdit::setMaxLength.
class TypedLength final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        return input.size() <= 3 ? Acceptable : Invalid;
    }
};

void colour(QWidget* widget, const char* css) {
    widget->setStyleSheet(QString::fromLatin1(css));
}

}  // namespace

CycleWindow::CycleWindow(platform::Settings& settings, const platform::Clock& clock,
                         std::unique_ptr<CycleData> data, DateTime selectedDate, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clock_(clock),
      data_(std::move(data)),
      tracker_(*data_),
      selectedDate_(selectedDate) {
    setObjectName(QStringLiteral("CycleWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Period"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    deleteQuestion_ = [this](const QString& text) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Question, windowTitle(), text,
                        QMessageBox::Yes | QMessageBox::No, this);
        box.move(pos());
        return box.exec() == QMessageBox::Yes;
    };
    build();
    setFixedSize(464, 472);
}

CycleWindow::~CycleWindow() = default;

void CycleWindow::setDeleteQuestion(std::function<bool(const QString&)> question) {
    deleteQuestion_ = std::move(question);
}

QLineEdit* CycleWindow::fieldBox(Field field) const {
    return fields_[static_cast<int>(field)];
}
QListWidget* CycleWindow::forecastList(Forecast list) const {
    return forecasts_[static_cast<int>(list)];
}
QListWidget* CycleWindow::detailList(Forecast list) const {
    return details_[static_cast<int>(list)];
}
QGroupBox* CycleWindow::detailGroup(Forecast list) const {
    return detailGroups_[static_cast<int>(list)];
}

void CycleWindow::build() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 0);
    auto* top = new QHBoxLayout;
    root->addLayout(top);

    // Left: the date boxes, add, the date list and delete.
    auto* left = new QVBoxLayout;
    top->addLayout(left);
    auto* dateRow = new QHBoxLayout;
    year_ = new QSpinBox(this);
    year_->setRange(1900, 2500);
    year_->setMinimumWidth(60);
    month_ = new QSpinBox(this);
    month_->setRange(1, 12);
    day_ = new QSpinBox(this);
    day_->setRange(1, 31);
    const std::pair<QSpinBox*, const char*> boxes[] = {{year_, "年"}, {month_, "月"}, {day_, "日"}};
    for (const auto& [box, caption] : boxes) {
        box->setKeyboardTracking(false);
        dateRow->addWidget(box);
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        colour(label, "color: red");
        dateRow->addWidget(label);
    }
    auto* today = new QPushButton(QStringLiteral("◎"), this);
    today->setToolTip(QStringLiteral("今日に戻す｡"));
    today->setFixedWidth(24);
    dateRow->addWidget(today);
    auto* add = new QPushButton(QStringLiteral("追加"), this);
    add->setObjectName(QStringLiteral("add"));
    add->setToolTip(QStringLiteral("あの日をリストに追加"));
    colour(add, "color: red");
    dateRow->addWidget(add);
    dateRow->addStretch();
    root->insertLayout(0, dateRow);
    dates_ = new QListWidget(this);
    dates_->setFixedWidth(100);
    dates_->setToolTip(QStringLiteral("過去のリスト"));
    colour(dates_, "color: red");
    left->addWidget(dates_, 1);
    auto* remove = new QPushButton(QStringLiteral("削除"), this);
    remove->setObjectName(QStringLiteral("delete"));
    remove->setToolTip(QStringLiteral("あの日をリストから削除"));
    left->addWidget(remove);

    // Right: the two forecasts with their fields and details.
    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    auto fieldRow = [this](std::initializer_list<std::pair<Field, const char*>> parts) {
        auto* row = new QHBoxLayout;
        auto* avg = new QLabel(QStringLiteral("Avg."), this);
        colour(avg, "color: blue");
        row->addWidget(avg);
        for (const auto& [field, after] : parts) {
            auto* box = new QLineEdit(QStringLiteral("28"), this);
            box->setValidator(new TypedLength(box));
            box->setToolTip(QStringLiteral("周期を指定"));
            box->setFixedWidth(40);
            colour(box, "color: blue");
            fields_[static_cast<int>(field)] = box;
            row->addWidget(box);
            auto* label = new QLabel(QString::fromUtf8(after), this);
            colour(label, "color: blue");
            row->addWidget(label);
        }
        row->addStretch();
        return row;
    };
    auto forecastPair = [this](Forecast which, const char* caption) {
        auto* row = new QHBoxLayout;
        auto* group = new QGroupBox(QString::fromUtf8(caption), this);
        auto* groupLayout = new QVBoxLayout(group);
        groupLayout->setContentsMargins(2, 2, 2, 2);
        auto* list = new QListWidget(group);
        list->setFixedWidth(130);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setToolTip(QStringLiteral("ｸﾘｯｸで詳細表示"));
        colour(list, "color: blue");
        groupLayout->addWidget(list);
        auto* detailGroup = new QGroupBox(QStringLiteral("詳細"), this);
        auto* detailLayout = new QVBoxLayout(detailGroup);
        detailLayout->setContentsMargins(2, 2, 2, 2);
        auto* details = new QListWidget(detailGroup);
        details->setToolTip(QStringLiteral("あくまでも参考値です｡"));
        QPalette palette = details->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Dark));
        palette.setColor(QPalette::Text, Qt::white);
        details->setPalette(palette);
        detailLayout->addWidget(details);
        forecasts_[static_cast<int>(which)] = list;
        details_[static_cast<int>(which)] = details;
        detailGroups_[static_cast<int>(which)] = detailGroup;
        row->addWidget(group);
        row->addWidget(detailGroup, 1);
        return row;
    };
    right->addLayout(fieldRow({{Field::Common, "日"}}));
    right->addLayout(forecastPair(Forecast::Common, "予定 (共通)"), 1);
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(new QLabel(QStringLiteral("生理中の期間を"), this));
    period_ = new QSpinBox(this);
    period_->setRange(kMinPeriodDays, kMaxPeriodDays);
    period_->setValue(5);
    periodRow->addWidget(period_);
    periodRow->addWidget(new QLabel(QStringLiteral("日間として計算する。"), this));
    periodRow->addStretch();
    right->addLayout(periodRow);
    right->addLayout(fieldRow({{Field::R, "日／"}, {Field::L, "日"}}));
    right->addLayout(forecastPair(Forecast::Alternating, "予定 (左右を意識)"), 1);

    auto* memoRow = new QHBoxLayout;
    memoLabel_ = new QLabel(QStringLiteral("2000/01/01のメモ："), this);
    memo_ = new QLineEdit(this);
    memoRow->addWidget(memoLabel_);
    memoRow->addWidget(memo_, 1);
    root->addLayout(memoRow);
    status_ = new QLabel(this);
    status_->setFrameShape(QFrame::Panel);
    status_->setFrameShadow(QFrame::Sunken);
    root->addWidget(status_);

    for (QSpinBox* box : {year_, month_, day_})
        connect(box, &QSpinBox::valueChanged, this, core::guard([this] { dateBoxChanged(); }));
    connect(today, &QPushButton::clicked, this, core::guard([this] { backToToday(); }));
    connect(add, &QPushButton::clicked, this, core::guard([this] { this->add(); }));
    connect(remove, &QPushButton::clicked, this, core::guard([this] { deleteSelected(); }));
    connect(dates_, &QListWidget::itemClicked, this,
            core::guard([this](QListWidgetItem* item) { chooseDate(dates_->row(item)); }));
    for (int f = 0; f < 3; ++f) {
        connect(fields_[f], &QLineEdit::textChanged, this,
                core::guard([this, f](const QString& text) {
                    if (updating_ == 0)
                        fieldEdited(static_cast<Field>(f), text);
                }));
    }
    for (int l = 0; l < 2; ++l) {
        connect(forecasts_[l], &QListWidget::itemClicked, this,
                core::guard([this, l](QListWidgetItem* item) {
                    chooseForecast(static_cast<Forecast>(l), forecasts_[l]->row(item));
                }));
    }
    connect(period_, &QSpinBox::valueChanged, this, core::guard([this](int days) {
                if (updating_ > 0)
                    return;
                tracker_.setPeriodDays(days);
                refreshDetails();
                reportWriteErrors();
            }));
    connect(memo_, &QLineEdit::textChanged, this, core::guard([this](const QString& text) {
                if (updating_ == 0)
                    memoEdited(text);
            }));
}

void CycleWindow::dateBoxChanged() {
    if (updating_ > 0)
        return;
    const CivilDate d = dateBoxes(year_->value(), month_->value(), day_->value());
    Updating guard(updating_);
    day_->setValue(d.day);
}

void CycleWindow::backToToday() {
    const CivilDate d = decodeDate(clock_.now());
    Updating guard(updating_);
    year_->setValue(std::clamp(d.year, 1900, 2500));
    month_->setValue(d.month);
    day_->setValue(d.day);
}

void CycleWindow::add() {
    tracker_.add(dateBoxes(year_->value(), month_->value(), day_->value()));
    core::PlaySoundCue(settings_, "sav");
    refresh();
    reportWriteErrors();
}

void CycleWindow::deleteSelected() {
    if (tracker_.selected() < 0)
        return;
    if (settings_.readInt("Form", "Delete", 0) == 0 &&
        !deleteQuestion_(QStringLiteral("削除しますか？"))) {
        return;
    }
    tracker_.removeSelected();
    core::PlaySoundCue(settings_, "del");
    refresh();
    reportWriteErrors();
}

void CycleWindow::chooseDate(int row) {
    tracker_.select(row);
    refresh();
}

void CycleWindow::chooseForecast(Forecast list, int row) {
    tracker_.chooseForecast(list, row);
    refreshDetails();
}

void CycleWindow::fieldEdited(Field field, const QString& text) {
    tracker_.setField(field, text.toStdString());
    refresh();
    reportWriteErrors();
}

void CycleWindow::memoEdited(const QString& text) {
    const std::string typed = text.toStdString();
    switch (tracker_.setMemo(typed)) {
        case MemoResult::Written:
            setStatus(qs(tracker_.status()));
            break;
        case MemoResult::NoDateSelected:
            break;
        case MemoResult::Refused:
            setStatus(QStringLiteral("メモに使えない文字か、長すぎるメモです (1023バイトまで)。"));
            break;
        case MemoResult::NotWritten:
            reportWriteErrors();
            break;
    }
    if (qs(tracker_.memo()) != text && tracker_.selected() >= 0) {
        // Line breaks became blanks, or the change was refused.
        Updating guard(updating_);
        const int cursor = memo_->cursorPosition();
        memo_->setText(qs(tracker_.memo()));
        memo_->setCursorPosition(std::min(cursor, static_cast<int>(memo_->text().size())));
    }
}

void CycleWindow::refresh() {
    Updating guard(updating_);
    dates_->clear();
    for (const auto& entry : tracker_.entries())
        dates_->addItem(qs(entry));
    dates_->setCurrentRow(tracker_.selected());
    for (int f = 0; f < 3; ++f) {
        const QString text = qs(tracker_.field(static_cast<Field>(f)));
        if (fields_[f]->text() != text)
            fields_[f]->setText(text);
    }
    period_->setValue(tracker_.periodDays());
    for (int l = 0; l < 2; ++l) {
        forecasts_[l]->clear();
        for (const auto& text : tracker_.forecasts(static_cast<Forecast>(l)))
            forecasts_[l]->addItem(qs(text));
    }
    memoLabel_->setText(qs(tracker_.memoLabel()));
    memo_->setText(qs(tracker_.memo()));
    setStatus(qs(tracker_.status()));
    if (const auto& target = tracker_.dateBoxTarget()) {
        year_->setValue(std::clamp(target->year, 1900, 2500));
        month_->setValue(target->month);
        day_->setValue(target->day);
    }
    refreshDetails();
}

void CycleWindow::refreshDetails() {
    Updating guard(updating_);
    for (int l = 0; l < 2; ++l) {
        const auto which = static_cast<Forecast>(l);
        forecasts_[l]->setCurrentRow(tracker_.chosen(which));
        details_[l]->clear();
        QStringList lines;
        for (const auto& line : tracker_.details(which))
            lines << qs(line);
        details_[l]->addItems(lines);
        const std::string& caption = tracker_.detailCaption(which);
        detailGroups_[l]->setTitle(caption.empty() ? QStringLiteral("詳細") : qs(caption));
    }
}

void CycleWindow::setStatus(const QString& text) {
    status_->setText(text);
}

void CycleWindow::reportWriteErrors() {
    for (const auto& error : tracker_.takeWriteErrors())
        core::reportError(qs(error));
}

void CycleWindow::placeOnScreen() {
    QPoint position(settings_.readInt("Peri", "left", 0), settings_.readInt("Peri", "top", 0));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = frameGeometry().size();
        position.setX(std::min(position.x(), area.right() + 1 - size.width()));
        position.setY(std::min(position.y(), area.bottom() + 1 - size.height()));
    }
    position.setX(std::max(position.x(), 0));
    position.setY(std::max(position.y(), 0));
    move(position);
}

void CycleWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    core::PlaySoundCue(settings_, "ope");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    core::BusyNotice notice(QStringLiteral("登録データを読み込んでいます。"));
    notice.showNow();
    core::runGuarded([this] {
        placeOnScreen();
        {
            const CivilDate d = decodeDate(selectedDate_);
            Updating guard(updating_);
            year_->setValue(std::clamp(d.year, 1900, 2500));
            month_->setValue(d.month);
            day_->setValue(d.day);
        }
        tracker_.open();
        refresh();
    });
    notice.close();
    QApplication::restoreOverrideCursor();
    reportWriteErrors();
}

void CycleWindow::closeEvent(QCloseEvent* event) {
    core::runGuarded([this] {
        settings_.writeInt("Peri", "top", pos().y());
        settings_.writeInt("Peri", "left", pos().x());
    });
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

}  // namespace hinagiku::cycle
