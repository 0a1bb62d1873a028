#include "birthday/ui/birthday_register.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "birthday/almanac.h"
#include "birthday/birth_dates.h"
#include "birthday/ui/biorhythm_chart.h"
#include "birthday/ui/birthday_pictures.h"
#include "calendar/lunisolar.h"
#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "core/ui/session_end.h"
#include "platform/file_search.h"
#include "richtext/text_document.h"
#include "schedule/entry_files.h"
#include "schedule/entry_name.h"

namespace hinagiku::birthday {
namespace {

QPointer<BirthdayRegister>& theRegister() {
    static QPointer<BirthdayRegister> window;
    return window;
}

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString slashDate(const CivilDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", d.year, d.month, d.day);
    return QString::fromLatin1(text);
}

// RAII: the controls are being set by the program, not typed.
class Updating {
  public:
    explicit Updating(int& counter) : counter_(counter) { ++counter_; }
    ~Updating() { --counter_; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

  private:
    int& counter_;
};

QLabel* pictureLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFixedSize(64, 64);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

SaveAnswer askSave(QWidget* window, const QString& text) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Question, window->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveAnswer::Yes;
        case QMessageBox::No:
            return SaveAnswer::No;
        default:
            return SaveAnswer::Cancel;
    }
}

bool askDelete(QWidget* window, const QString& text) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Question, window->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::No);
    box.move(window->pos());
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

CivilDate storedBirthDate(const platform::Settings& settings, const CivilDate& fallback) {
    const std::string text = settings.readText("Bio", "BD", "");
    auto digits = [&](std::size_t from, std::size_t count) -> int {
        if (text.size() < from + count)
            return -1;
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    if (y < 0 || m < 0 || d < 1 || d > 31)
        return fallback;
    return registerDate(y, m, d);
}

BirthdayRegister::BirthdayRegister(platform::Settings& settings, const platform::Clock& clock,
                                   RegisterHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinimizeButtonHint),
      settings_(settings),
      clock_(clock),
      hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("BirthdayRegister"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Happy Birthday Dear.."));
    questions_.saveChanges = [this](const QString& text) { return askSave(this, text); };
    questions_.confirmDelete = [this](const QString& text) { return askDelete(this, text); };
    build();
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this,
            core::guard([this] { sessionEnding(); }));
    const CivilDate now = today();
    shown_ = {now.year, now.month};
    // The day goes to 1 first so that any year and month are accepted.
    Updating guard(updating_);
    day_->setValue(1);
    const CivilDate start = storedBirthDate(settings_, now);
    year_->setValue(start.year);
    month_->setValue(start.month);
    day_->setValue(start.day);
    birth_ = start;
}

BirthdayRegister::~BirthdayRegister() = default;

void BirthdayRegister::setQuestions(RegisterQuestions questions) {
    if (questions.saveChanges)
        questions_.saveChanges = std::move(questions.saveChanges);
    if (questions.confirmDelete)
        questions_.confirmDelete = std::move(questions.confirmDelete);
}

void BirthdayRegister::build() {
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left, 3);

    // Date boxes and age.
    auto* dateRow = new QHBoxLayout;
    year_ = new QSpinBox(this);
    year_->setRange(1, 9999);
    year_->setObjectName(QStringLiteral("year"));
    month_ = new QSpinBox(this);
    month_->setRange(1, 12);
    month_->setObjectName(QStringLiteral("month"));
    day_ = new QSpinBox(this);
    day_->setRange(1, 31);
    day_->setObjectName(QStringLiteral("day"));
    // A value counts when typing ends, not at every keystroke.
    for (QSpinBox* box : {year_, month_, day_})
        box->setKeyboardTracking(false);
    dateRow->addWidget(year_);
    dateRow->addWidget(new QLabel(QStringLiteral("年"), this));
    dateRow->addWidget(month_);
    dateRow->addWidget(new QLabel(QStringLiteral("月"), this));
    dateRow->addWidget(day_);
    dateRow->addWidget(new QLabel(QStringLiteral("日"), this));
    dateRow->addStretch();
    left->addLayout(dateRow);

    auto* ageRow = new QHBoxLayout;
    ageRow->addWidget(new QLabel(QStringLiteral("現在"), this));
    age_ = new QSpinBox(this);
    age_->setRange(0, 150);
    age_->setObjectName(QStringLiteral("age"));
    ageRow->addWidget(age_);
    ageRow->addWidget(new QLabel(QStringLiteral("歳"), this));
    auto* setButton = new QPushButton(QStringLiteral("設定"), this);
    setButton->setObjectName(QStringLiteral("setYear"));
    setButton->setToolTip(QStringLiteral("現在の年齢から西暦を計算します｡"));
    ageRow->addWidget(setButton);
    monthName_ = new QLabel(this);
    monthName_->setObjectName(QStringLiteral("monthName"));
    monthName_->setToolTip(QStringLiteral("陰暦"));
    rokuyo_ = new QLabel(this);
    rokuyo_->setObjectName(QStringLiteral("rokuyo"));
    rokuyo_->setToolTip(QStringLiteral("六曜"));
    ageName_ = new QLabel(this);
    ageName_->setObjectName(QStringLiteral("ageName"));
    ageName_->setToolTip(QStringLiteral("年齢の異称"));
    celebration_ = new QLabel(this);
    celebration_->setObjectName(QStringLiteral("celebration"));
    celebration_->setToolTip(QStringLiteral("賀寿"));
    ageRow->addWidget(monthName_);
    ageRow->addWidget(rokuyo_);
    ageRow->addWidget(ageName_);
    ageRow->addWidget(celebration_);
    ageRow->addStretch();
    left->addLayout(ageRow);

    // Sign, animal and stone with their pictures.
    auto* pictures = new QGridLayout;
    sign_ = new QLabel(this);
    sign_->setObjectName(QStringLiteral("sign"));
    signPicture_ = pictureLabel(this);
    signPicture_->setObjectName(QStringLiteral("signPicture"));
    animal_ = new QLabel(this);
    animal_->setObjectName(QStringLiteral("animal"));
    animal_->setToolTip(QStringLiteral("十二支"));
    animalPicture_ = pictureLabel(this);
    animalPicture_->setObjectName(QStringLiteral("animalPicture"));
    stone_ = new QLabel(this);
    stone_->setObjectName(QStringLiteral("stone"));
    stonePicture_ = pictureLabel(this);
    stonePicture_->setObjectName(QStringLiteral("stonePicture"));
    pictures->addWidget(signPicture_, 0, 0, Qt::AlignCenter);
    pictures->addWidget(animalPicture_, 0, 1, Qt::AlignCenter);
    pictures->addWidget(stonePicture_, 0, 2, Qt::AlignCenter);
    pictures->addWidget(sign_, 1, 0, Qt::AlignCenter);
    pictures->addWidget(animal_, 1, 1, Qt::AlignCenter);
    pictures->addWidget(stone_, 1, 2, Qt::AlignCenter);
    left->addLayout(pictures);

    auto* flowerRow = new QGridLayout;
    flowerRow->addWidget(new QLabel(QStringLiteral("誕生花"), this), 0, 0);
    flower_ = new QLabel(this);
    flower_->setObjectName(QStringLiteral("flower"));
    flowerRow->addWidget(flower_, 0, 1);
    flowerRow->addWidget(new QLabel(QStringLiteral("花言葉"), this), 1, 0);
    language_ = new QLabel(this);
    language_->setObjectName(QStringLiteral("language"));
    flowerRow->addWidget(language_, 1, 1);
    flowerRow->setColumnStretch(1, 1);
    left->addLayout(flowerRow);

    left->addWidget(new QLabel(QStringLiteral("名前＆その他："), this));
    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setAcceptRichText(true);
    left->addWidget(text_, 1);

    auto* buttons = new QHBoxLayout;
    save_ = new QPushButton(QStringLiteral("保存"), this);
    save_->setObjectName(QStringLiteral("save"));
    save_->setToolTip(QStringLiteral("誕生日を保存"));
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    delete_->setObjectName(QStringLiteral("delete"));
    delete_->setToolTip(QStringLiteral("ﾃﾞｰﾀを削除します｡"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("close"));
    buttons->addWidget(save_);
    buttons->addWidget(delete_);
    buttons->addWidget(close);
    left->addLayout(buttons);

    // The list and the biorhythm area.
    auto* right = new QVBoxLayout;
    root->addLayout(right, 4);
    right->addWidget(new QLabel(QStringLiteral("登録リスト："), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("list"));
    right->addWidget(list_, 1);

    auto* bio = new QGroupBox(QStringLiteral("生まれのバイオリズム"), this);
    auto* bioLayout = new QVBoxLayout(bio);
    auto* bioHead = new QHBoxLayout;
    bioBirth_ = new QLabel(bio);
    bioBirth_->setObjectName(QStringLiteral("bioBirth"));
    bioMonth_ = new QLabel(bio);
    bioMonth_->setObjectName(QStringLiteral("bioMonth"));
    auto* previous = new QPushButton(QStringLiteral("先月へ"), bio);
    auto* current = new QPushButton(QStringLiteral("今日に戻す｡"), bio);
    auto* next = new QPushButton(QStringLiteral("翌月へ"), bio);
    bioHead->addWidget(bioBirth_);
    bioHead->addWidget(bioMonth_);
    bioHead->addStretch();
    bioHead->addWidget(previous);
    bioHead->addWidget(current);
    bioHead->addWidget(next);
    bioLayout->addLayout(bioHead);
    auto* marks = new QHBoxLayout;
    for (const char* mark : {"1", "10", "20", "30"}) {
        marks->addWidget(new QLabel(QString::fromLatin1(mark), bio));
        marks->addStretch();
    }
    bioLayout->addLayout(marks);
    chart_ = new BiorhythmChart(bio);
    chart_->setFixedSize(300, 120);
    bioLayout->addWidget(chart_);
    auto* legend = new QHBoxLayout;
    auto* red = new QLabel(QStringLiteral("赤：身体"), bio);
    red->setStyleSheet(QStringLiteral("color: red"));
    auto* blue = new QLabel(QStringLiteral("青：感情"), bio);
    blue->setStyleSheet(QStringLiteral("color: blue"));
    auto* green = new QLabel(QStringLiteral("緑：知性"), bio);
    green->setStyleSheet(QStringLiteral("color: green"));
    legend->addWidget(red);
    legend->addWidget(blue);
    legend->addWidget(green);
    legend->addStretch();
    bioLayout->addLayout(legend);
    for (const char* note : {"上の山が活動期（＋）", "下の山が休息期（－）",
                             "中央の太線（横太線）と交わっている日が", "注意日（０）です。"}) {
        bioLayout->addWidget(new QLabel(QString::fromUtf8(note), bio));
    }
    right->addWidget(bio);

    connect(year_, &QSpinBox::valueChanged, this, core::guard([this] { dateBoxesChanged(); }));
    connect(month_, &QSpinBox::valueChanged, this, core::guard([this] { dateBoxesChanged(); }));
    connect(day_, &QSpinBox::valueChanged, this, core::guard([this] { dateBoxesChanged(); }));
    connect(age_, &QSpinBox::valueChanged, this,
            core::guard([this](int age) { showAgeNames(age); }));
    connect(setButton, &QPushButton::clicked, this, core::guard([this] { setYearFromAge(); }));
    connect(text_, &QTextEdit::textChanged, this, core::guard([this] {
                if (updating_ > 0)
                    return;
                dirty_ = true;
                save_->setEnabled(true);
            }));
    connect(list_, &QListWidget::itemClicked, this,
            core::guard([this](QListWidgetItem* item) { chooseListItem(list_->row(item)); }));
    connect(save_, &QPushButton::clicked, this, core::guard([this] { save(); }));
    connect(delete_, &QPushButton::clicked, this, core::guard([this] { deleteEntry(); }));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(previous, &QPushButton::clicked, this, core::guard([this] { previousMonth(); }));
    connect(current, &QPushButton::clicked, this, core::guard([this] { currentMonth(); }));
    connect(next, &QPushButton::clicked, this, core::guard([this] { nextMonth(); }));
}

QLabel* BirthdayRegister::label(const char* objectName) const {
    return findChild<QLabel*>(QString::fromLatin1(objectName));
}

CivilDate BirthdayRegister::today() const {
    return decodeDate(clock_.now());
}

void BirthdayRegister::setBirthDate(int year, int month, int day) {
    {
        Updating guard(updating_);
        year_->setValue(year);
        month_->setValue(month);
        day_->setValue(day);
    }
    dateBoxesChanged();
}

void BirthdayRegister::dateBoxesChanged() {
    if (updating_ > 0)
        return;
    const CivilDate wanted = registerDate(year_->value(), month_->value(), day_->value());
    if (wanted == birth_ && !entryPath_.empty())
        return;
    if (!confirmLeave()) {
        Updating guard(updating_);
        year_->setValue(birth_.year);
        month_->setValue(birth_.month);
        day_->setValue(birth_.day);
        return;
    }
    applyDate(wanted);
}

bool BirthdayRegister::confirmLeave() {
    if (!dirty_)
        return true;
    switch (questions_.saveChanges(QString::fromUtf8(kUnsavedQuestion))) {
        case SaveAnswer::Yes:
            return save();
        case SaveAnswer::No:
            dirty_ = false;
            return true;
        case SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void BirthdayRegister::applyDate(const CivilDate& date) {
    {
        Updating guard(updating_);
        year_->setValue(date.year);
        month_->setValue(date.month);
        day_->setValue(date.day);
    }
    birth_ = date;
    dateChanged();
}

void BirthdayRegister::dateChanged() {
    ++dateChangeRuns_;
    const CivilDate now = today();
    {
        Updating guard(updating_);
        age_->setValue(std::clamp(ageOn(birth_, now), 0, 150));
    }
    showAgeNames(ageOn(birth_, now));

    const std::string folder = core::DataFolder(settings_);
    std::string name = schedule::BirthdayEntryName(dayNumberOf(birth_));
    std::string onDisk;
    const bool exists = folder != "." && platform::fileExists(folder, name, &onDisk);
    if (exists)
        name = onDisk;
    entryPath_ = (std::filesystem::path(folder) / name).string();
    {
        Updating guard(updating_);
        text_->clear();
    }
    dirty_ = false;
    save_->setEnabled(false);
    delete_->setEnabled(false);
    if (exists) {
        try {
            if (const auto content = schedule::LoadEntry(entryPath_)) {
                Updating guard(updating_);
                richtext::loadRichText(content->bytes, *text_->document());
                save_->setEnabled(true);
            }
        } catch (const std::exception& e) {
            core::reportError(QString::fromUtf8(e.what()));
        }
        delete_->setEnabled(true);
    }

    showSign();
    const Almanac a = almanacFor(birth_, now, settings_.readInt("Birthday", "Seiza", 0) != 0);
    setLabel(animal_, qs(a.animal.name));
    animalPicture_->setPixmap(birthdayPicture(a.animal.picture));
    setLabel(monthName_, qs(a.month.name));
    setLabel(stone_, qs(a.month.birthstone));
    stonePicture_->setPixmap(birthdayPicture(a.month.picture));
    setLabel(rokuyo_, settings_.readBool("Form", "Qreki", false)
                          ? QStringLiteral("(") + qs(a.rokuyo) + QStringLiteral(")")
                          : QString());
    setLabel(flower_, qs(a.flower.flower));
    setLabel(language_, qs(a.flower.language));
    flower_->setToolTip(qs(a.month.flowerText));
    language_->setToolTip(qs(a.month.flowerText));
    setLabel(bioBirth_, slashDate(birth_));
    showChart();
}

void BirthdayRegister::setLabel(QLabel* label, const QString& text) {
    label->setText(text);
}

void BirthdayRegister::showAgeNames(int age) {
    setLabel(ageName_, qs(ageName(age)));
    setLabel(celebration_, qs(celebrationName(age)));
}

void BirthdayRegister::showSign() {
    const ZodiacSign sign =
        zodiacSign(birth_.month, birth_.day, settings_.readInt("Birthday", "Seiza", 0) != 0);
    setLabel(sign_, qs(sign.name));
    sign_->setToolTip(qs(sign.range));
    signPicture_->setPixmap(birthdayPicture(sign.picture));
}

void BirthdayRegister::showChart() {
    char text[32];
    std::snprintf(text, sizeof text, "%04d年%02d月", shown_.year, shown_.month);
    setLabel(bioMonth_, QString::fromUtf8(text));
    chart_->show(birth_, shown_.year, shown_.month, today());
}

void BirthdayRegister::previousMonth() {
    shown_ = stepMonth(shown_, -1);
    showChart();
}

void BirthdayRegister::nextMonth() {
    shown_ = stepMonth(shown_, 1);
    showChart();
}

void BirthdayRegister::currentMonth() {
    const CivilDate now = today();
    shown_ = {now.year, now.month};
    showChart();
}

void BirthdayRegister::setThirteenSigns(bool thirteen) {
    settings_.writeInt("Birthday", "Seiza", thirteen ? 1 : 0);
    showSign();
}

void BirthdayRegister::setYearFromAge() {
    const int year = birthYearForAge(age_->value(), birth_.month, birth_.day, today());
    setBirthDate(year, birth_.month, birth_.day);
}

void BirthdayRegister::rebuildList() {
    const std::string folder = core::DataFolder(settings_);
    items_ = folder == "." ? std::vector<RegisterItem>{} : registerItems(folder, today());
    list_->clear();
    for (const auto& item : items_)
        list_->addItem(qs(item.text));
}

void BirthdayRegister::chooseListItem(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    const CivilDate date = items_[static_cast<std::size_t>(row)].birth;
    if (!confirmLeave())
        return;
    applyDate(date);
    save_->setEnabled(false);
}

bool BirthdayRegister::save() {
    if (entryPath_.empty())
        return false;
    try {
        schedule::SaveEntry(entryPath_, richtext::saveRichText(*text_->document()));
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
    core::PlaySoundCue(settings_, "sav");
    dirty_ = false;
    save_->setEnabled(false);
    delete_->setEnabled(true);
    rebuildList();
    if (hooks_.entriesChanged)
        hooks_.entriesChanged();
    return true;
}

void BirthdayRegister::deleteEntry() {
    if (entryPath_.empty())
        return;
    if (settings_.readInt("Form", "Delete", 0) == 0 &&
        !questions_.confirmDelete(QStringLiteral("削除しますか？"))) {
        return;
    }
    if (schedule::EntryExists(entryPath_)) {
        try {
            schedule::DeleteEntry(entryPath_, settings_);
        } catch (const std::exception& e) {
            core::reportError(QString::fromUtf8(e.what()));
            return;
        }
        Updating guard(updating_);
        text_->clear();
        core::PlaySoundCue(settings_, "del");
    }
    dirty_ = false;
    save_->setEnabled(false);
    delete_->setEnabled(false);
    rebuildList();
    if (hooks_.entriesChanged)
        hooks_.entriesChanged();
}

void BirthdayRegister::placeOnScreen() {
    QPoint position(settings_.readInt("Birthday", "left", 0),
                    settings_.readInt("Birthday", "top", 0));
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

void BirthdayRegister::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    core::PlaySoundCue(settings_, "ope");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    core::runGuarded([this] {
        placeOnScreen();
        currentMonth();
        rebuildList();
        dateChanged();
    });
    QApplication::restoreOverrideCursor();
}

void BirthdayRegister::closeEvent(QCloseEvent* event) {
    bool leave = false;
    core::runGuarded([&] { leave = confirmLeave(); });
    if (!leave) {
        event->ignore();
        return;
    }
    core::runGuarded([&] { writeClosingSettings(); });
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

void BirthdayRegister::writeClosingSettings() {
    settings_.writeText("Bio", "BD", slashDate(birth_).toStdString());
    settings_.writeInt("Birthday", "top", pos().y());
    settings_.writeInt("Birthday", "left", pos().x());
}

void BirthdayRegister::sessionEnding() {
    // No one is there to answer a question: unsaved text is saved.
    if (dirty_)
        save();
    writeClosingSettings();
}

void BirthdayRegister::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QMenu* signs = menu.addMenu(QStringLiteral("星座"));
    QAction* twelve = signs->addAction(QStringLiteral("12星座"));
    QAction* thirteen = signs->addAction(QStringLiteral("13星座"));
    twelve->setCheckable(true);
    thirteen->setCheckable(true);
    const bool stored = settings_.readInt("Birthday", "Seiza", 0) != 0;
    twelve->setChecked(!stored);
    thirteen->setChecked(stored);
    menu.addSeparator();
    QAction* close = menu.addAction(QStringLiteral("閉じる(&C)"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == twelve)
        setThirteenSigns(false);
    else if (chosen == thirteen)
        setThirteenSigns(true);
    else if (chosen == close)
        this->close();
}

BirthdayRegister* openBirthdayRegister(platform::Settings& settings, const platform::Clock& clock,
                                       RegisterHooks hooks) {
    if (BirthdayRegister* open = theRegister()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    if (!core::RequireDataFolder(settings))
        return nullptr;
    auto* window = new BirthdayRegister(settings, clock, std::move(hooks));
    theRegister() = window;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

BirthdayRegister* openRegister() {
    return theRegister();
}

}  // namespace hinagiku::birthday
