#include "core/ui/settings/settings_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <climits>

#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "core/ui/message_box.h"
#include "core/ui/password_gate.h"
#include "core/ui/session_end.h"
#include "core/ui/settings/clamp_spin_box.h"
#include "core/ui/settings/settings_snapshot.h"
#include "core/ui/settings_dialog_hook.h"
#include "mainwindow/ui/color_value.h"
#include "platform/profile_text.h"

namespace hinagiku::core {
namespace {

constexpr const char* kDefaultStatus = "自分好みにカスタマイズしましょう。";

QString qs(std::string_view text) {
    return fromUtf8View(text);
}

std::string objectKey(std::string_view section, std::string_view key) {
    return std::string(section) + "." + std::string(key);
}

}  // namespace

SettingsDialog::SettingsDialog(platform::Settings& settings, SettingsHost& host,
                               SettingsDialogChoosers choosers, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      settings_(settings),
      snapshot_(SettingsSnapshot::of(settings)),
      host_(host),
      choosers_(std::move(choosers)) {
    setWindowTitle(QStringLiteral("Hinagiku 環境設定"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    pages_ = new QTabWidget(this);
    pages_->addTab(buildBasicPage(), QStringLiteral("基本設定"));
    pages_->addTab(buildExtendedPage(), QStringLiteral("拡張設定"));
    pages_->addTab(buildAuxiliaryPage(), QStringLiteral("補助設定"));
    pages_->addTab(buildCalendarPage(), QStringLiteral("ｶﾚﾝﾀﾞｰ"));
    pages_->addTab(buildSchedulePage(), QStringLiteral("ｽｹｼﾞｭｰﾙ"));
    pages_->addTab(buildMemoPage(), QStringLiteral("メモ"));
    pages_->addTab(buildDiaryPage(), QStringLiteral("日記"));
    pages_->addTab(buildPopupPage(), QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟ"));
    pages_->addTab(buildPhonePage(), QStringLiteral("簡易電話帳"));
    pages_->addTab(buildVersionPage(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    layout->addWidget(pages_);
    folderPanel_ = buildFolderPanel();
    layout->addWidget(folderPanel_);
    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    layout->addWidget(statusBar_);

    const char* pageTexts[] = {"基本の設定です。",
                               "基本以外の動作設定です。",
                               "",
                               "カレンダーの設定です。",
                               "カレンダーの設定です。",
                               "メモの配色、動作の設定です。",
                               "日記のカスタマイズ",
                               "ポップアップスケジュールの設定です。",
                               "ミニ時計のカスタマイズ",
                               ""};
    for (int i = 0; i < pages_->count(); ++i)
        setHint(pages_->widget(i), pageTexts[i]);
    statusTexts_.emplace_back(statusBar_, QString::fromUtf8(kDefaultStatus));
    statusTexts_.emplace_back(pages_->tabBar(), QString::fromUtf8(kDefaultStatus));
    for (auto& [object, text] : statusTexts_) {
        object->installEventFilter(this);
        if (auto* w = qobject_cast<QWidget*>(object))
            w->setMouseTracking(true);
    }
    connect(pages_, &QTabWidget::currentChanged, this, [this] { PlaySoundCue(settings_, "c1"); });

    // Loading counts as a change: every control writes its value again and
    // runs its side effects; the writes go to the file together.
    host_.setLauncherAutoPopup(false);
    host_.setSettingsItemChecked(true);
    for (Binding& b : bindings_)
        b.load();
    for (Binding& b : bindings_) {
        if ((b.row->rules & (kNotAtCreation | kWrittenAtClose)) == 0)
            b.commit();
    }
    phoneTabChanged(0);
    creating_ = false;
    snapshot_.reset();
    bool refused = false;
    try {
        // One replacement of the file for all of creation's writes.
        if (!pendingWrites_.empty()) {
            settings_.edit([this](platform::SettingsEdit& edit) {
                for (const auto& [row, value] : pendingWrites_)
                    edit.writeText(row->section, row->key, value);
            });
        }
    } catch (const std::exception& e) {
        refused = true;
        reportError(QString::fromUtf8(e.what()));
    }
    pendingWrites_.clear();
    for (auto& effect : pendingEffects_)
        effect();
    pendingEffects_.clear();
    if (refused) {
        for (Binding& b : bindings_)
            b.load();  // what the file holds after all
    }
    refreshPreviews();
    pages_->tabBar()->setUsesScrollButtons(false);  // all ten tabs in view
    adjustSize();
    setFixedSize(size());
}

SettingsDialog::~SettingsDialog() = default;

const platform::Settings& SettingsDialog::reads() const {
    return snapshot_ ? *snapshot_ : settings_;
}

SettingsDialog::Binding& SettingsDialog::bind(const char* section, const char* key,
                                              QWidget* widget) {
    Binding b;
    b.row = findOption(section, key);
    b.widget = widget;
    widget->setObjectName(QString::fromStdString(objectKey(b.row->section, b.row->key)));
    bindings_.push_back(std::move(b));
    return bindings_.back();
}

QWidget* SettingsDialog::control(std::string_view section, std::string_view key) const {
    for (const Binding& b : bindings_) {
        if (platform::profile_text::sameName(b.row->section, section) &&
            platform::profile_text::sameName(b.row->key, key)) {
            return b.widget;
        }
    }
    return nullptr;
}

QPushButton* SettingsDialog::colorButton(std::string_view section, std::string_view key) const {
    return findChild<QPushButton*>(QString::fromStdString(objectKey(section, key) + ".button"));
}

QPushButton* SettingsDialog::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

bool SettingsDialog::store(const OptionRow& row, const std::string& value) {
    return storeKey(row.section, row.key, value);
}

bool SettingsDialog::storeKey(std::string_view section, std::string_view key,
                              const std::string& value) {
    if (creating_) {
        const OptionRow* row = findOption(section, key);
        if (row != nullptr) {
            pendingWrites_.emplace_back(row, value);
            return true;
        }
    }
    try {
        settings_.writeText(section, key, value);
        return true;
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
        return false;
    }
}

void SettingsDialog::afterWrites(std::function<void()> effect) {
    if (creating_)
        pendingEffects_.push_back(std::move(effect));
    else
        effect();
}

void SettingsDialog::reload(const OptionRow& row) {
    for (Binding& b : bindings_) {
        if (b.row == &row)
            b.load();
    }
}

int SettingsDialog::storedNumber(const char* section, const char* key) const {
    return loadedNumber(reads(), *findOption(section, key));
}

QColor SettingsDialog::colorOf(int value) const {
    return mainwindow::colorFromValue(value, palette());
}

void SettingsDialog::setHint(QWidget* widget, const char* text) {
    statusTexts_.emplace_back(widget, QString::fromUtf8(text));
}

QString SettingsDialog::statusTextFor(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        for (const auto& [object, text] : statusTexts_) {
            if (object == w)
                return text;
        }
    }
    return {};
}

// ------------------------------------------------------------ bound controls

QCheckBox* SettingsDialog::check(QWidget* parent, const char* caption, const char* section,
                                 const char* key, std::function<void(bool)> after) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    Binding& b = bind(section, key, box);
    const OptionRow* row = b.row;
    b.load = [this, box, row] {
        const QSignalBlocker block(box);
        box->setChecked(loadedNumber(reads(), *row) != 0);
        box->setEnabled(optionEnabled(reads(), *row));
    };
    b.commit = [this, box, row, after] {
        const bool on = box->isChecked();
        if (!store(*row, on ? "1" : "0")) {
            reload(*row);
            return;
        }
        if (after)
            after(on);
    };
    if ((row->rules & kUserOnly) == 0)
        connect(box, &QCheckBox::toggled, this, [commit = b.commit] { commit(); });
    return box;
}

QGroupBox* SettingsDialog::choice(QWidget* parent, const char* caption, const char* section,
                                  const char* key, int columns, std::function<void(int)> after) {
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(0);
    auto* buttons = new QButtonGroup(group);
    Binding& b = bind(section, key, group);
    const OptionRow* row = b.row;
    const int count = static_cast<int>(row->choices.size());
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(qs(row->choices[static_cast<std::size_t>(i)]), group);
        radio->setObjectName(QStringLiteral("choice%1").arg(i));
        buttons->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    b.load = [this, buttons, row] {
        const QSignalBlocker block(buttons);
        buttons->button(loadedNumber(reads(), *row))->setChecked(true);
    };
    b.commit = [this, buttons, row, after] {
        if (!store(*row, std::to_string(buttons->checkedId()))) {
            reload(*row);
            return;
        }
        if (after)
            after(buttons->checkedId());
    };
    connect(buttons, &QButtonGroup::idClicked, this, [commit = b.commit] { commit(); });
    return group;
}

QSpinBox* SettingsDialog::spin(QWidget* parent, const char* section, const char* key,
                               std::function<void(int)> after) {
    auto* box = new ClampSpinBox(parent);
    Binding& b = bind(section, key, box);
    const OptionRow* row = b.row;
    if ((row->rules & kUnbounded) != 0) {
        box->setRange(INT_MIN, INT_MAX);
    } else {
        box->setRange(row->minimum, row->maximum);
        if (row->minimum == 1000)
            box->setSingleStep(100);
    }
    b.load = [this, box, row] {
        const QSignalBlocker block(box);
        box->setValue(loadedNumber(reads(), *row));
    };
    b.commit = [this, box, row, after] {
        if (!store(*row, std::to_string(box->value()))) {
            reload(*row);
            return;
        }
        if (after)
            after(box->value());
    };
    connect(box, &QSpinBox::valueChanged, this, [commit = b.commit] { commit(); });
    return box;
}

QLineEdit* SettingsDialog::textField(QWidget* parent, const char* section, const char* key,
                                     std::function<void(const QString&)> after) {
    auto* field = new QLineEdit(parent);
    Binding& b = bind(section, key, field);
    const OptionRow* row = b.row;
    b.load = [this, field, row] {
        const QSignalBlocker block(field);
        field->setText(qs(loadedValue(reads(), *row)));
    };
    b.commit = [this, field, row, after] {
        std::string value = field->text().toStdString();
        if ((row->rules & kWrittenAtClose) != 0 && !creating_)
            return;
        if (auto reason = unstorableTextReason(value)) {
            if (creating_)
                return;  // as the file holds it; rewriting would lose characters
            showMessage(this, {QMessageBox::Warning, qs(*reason)});
            reload(*row);
            return;
        }
        if (value.empty() && (row->rules & kEmptyIsDefault) != 0) {
            value = row->defaultText;
            const QSignalBlocker block(field);
            field->setText(qs(value));
        }
        if (!store(*row, value)) {
            reload(*row);
            return;
        }
        if (after)
            after(field->text());
    };
    connect(field, &QLineEdit::textChanged, this, [commit = b.commit] { commit(); });
    return field;
}

QLabel* SettingsDialog::pathLabel(QWidget* parent, const char* section, const char* key) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(200);
    Binding& b = bind(section, key, label);
    const OptionRow* row = b.row;
    b.load = [this, label, row] { label->setText(qs(loadedValue(reads(), *row))); };
    b.commit = [this, label, row] {
        const std::string value = label->text().toStdString();
        if (creating_ && unstorableTextReason(value))
            return;
        if (!store(*row, value))
            reload(*row);
    };
    return label;
}

QPushButton* SettingsDialog::colorSwatch(QWidget* parent, const char* caption, const char* section,
                                         const char* key, std::function<void()> after) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    auto* swatch = new QLabel(parent);
    swatch->setFixedSize(24, 18);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setAutoFillBackground(true);
    // The swatch is the bound control: it keeps the stored number, so a
    // system colour stays that number.
    Binding& b = bind(section, key, swatch);
    const OptionRow* row = b.row;
    button->setObjectName(QString::fromStdString(objectKey(row->section, row->key) + ".button"));
    b.load = [this, swatch, row] {
        const int value = loadedNumber(reads(), *row);
        swatch->setProperty("colorValue", value);
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, colorOf(value));
        swatch->setPalette(p);
    };
    b.commit = [this, swatch, row, after] {
        if (!store(*row, std::to_string(swatch->property("colorValue").toInt()))) {
            reload(*row);
            return;
        }
        reload(*row);
        if (after)
            afterWrites(after);
    };
    connect(button, &QPushButton::clicked, this, [this, row] { chooseColor(*row); });
    return button;
}

void SettingsDialog::chooseColor(const OptionRow& row) {
    QWidget* swatch = control(row.section, row.key);
    const int current = swatch->property("colorValue").toInt();
    std::optional<QColor> chosen;
    if (choosers_.color) {
        chosen = choosers_.color(this, colorOf(current));
    } else {
        const QColor c = QColorDialog::getColor(colorOf(current), this);
        if (c.isValid())
            chosen = c;
    }
    // Confirmed or cancelled, the result is written; after a cancel that is
    // the unchanged number.
    swatch->setProperty("colorValue", chosen ? mainwindow::valueFromColor(*chosen) : current);
    for (Binding& b : bindings_) {
        if (b.row == &row)
            b.commit();
    }
}

// ------------------------------------------------------------ life cycle

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    PlaySoundCue(settings_, "ope");
    pages_->setCurrentIndex(0);
    showPopupPreview();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    PlaySoundCue(settings_, "clo");
    if (periodCaption_ != nullptr) {
        const std::string caption = periodCaption_->text().toStdString();
        if (auto reason = unstorableTextReason(caption))
            showMessage(this, {QMessageBox::Warning, qs(*reason)});
        else
            storeKey("Form", "Period_Cap", caption);
    }
    host_.setLauncherAutoPopup(true);
    host_.refreshDayView();
    host_.setSettingsItemChecked(false);
    event->accept();
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (auto* w = qobject_cast<QWidget*>(watched))
            statusBar_->showMessage(statusTextFor(w));
    } else if (watched == statusBar_ && event->type() == QEvent::MouseButtonPress) {
        statusBarClicked();
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::statusBarClicked() {
    ++statusClicks_;
    if (statusClicks_ == 50) {
        pages_->hide();
        folderPanel_->hide();
    } else if (statusClicks_ > 50) {
        close();
    }
}

bool SettingsDialog::ask(const char* text) {
    return showMessage(this, {QMessageBox::Question, QString::fromUtf8(text),
                              QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

// ------------------------------------------------------------ the one dialog

namespace {

QPointer<SettingsDialog>& theDialog() {
    static QPointer<SettingsDialog> dialog;
    return dialog;
}

}  // namespace

SettingsDialog* openSettingsDialogWindow() {
    return theDialog().data();
}

void installSettingsDialog(platform::Settings& settings, SettingsHost& host,
                           SettingsDialogChoosers choosers) {
    setSettingsDialogOpener([&settings, &host, choosers] {
        if (SettingsDialog* open = theDialog().data()) {
            open->show();
            open->raise();
            open->activateWindow();
            return;
        }
        auto* dialog = new SettingsDialog(settings, host, choosers);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // The menu caption is written when the dialog closes: also at the end.
        QObject::connect(&SessionEnd::instance(), &SessionEnd::ending, dialog, &QWidget::close);
        theDialog() = dialog;
        dialog->show();
    });
}

}  // namespace hinagiku::core
