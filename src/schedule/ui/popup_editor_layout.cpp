// The popup editor's construction: its date row, kinds, uptime panel,
// choice groups, options and templates, and the connections of its
// controls.
#include "schedule/ui/popup_editor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "richtext/text_document.h"
#include "schedule/entry_files.h"
#include "schedule/entry_options.h"
#include "schedule/popup_timer.h"
#include "schedule/ui/picture_chooser.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_style.h"
#include "schedule/ui/sound_chooser.h"

namespace hinagiku::schedule {
namespace {

QSpinBox* spinBox(QWidget* parent, const char* name, int min, int max, int step = 1) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setSingleStep(step);
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& hint = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

}  // namespace

// ---------------------------------------------------------------- layout

void PopupEditor::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(buildDateRow());
    layout->addWidget(buildKindArea());
    layout->addWidget(buildChoiceGroups());

    auto* middle = new QHBoxLayout;
    auto* textColumn = new QVBoxLayout;
    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setAcceptRichText(true);
    text_->setLineWrapMode(QTextEdit::NoWrap);
    text_->document()->setDefaultFont(popupFixedFont());
    text_->setFont(popupFixedFont());
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    text_->setMinimumSize(320, 150);
    // The text keeps 6 pixels from the edges (the document margin survives
    // loading, unlike frame formats).
    text_->document()->setDocumentMargin(6);
    textColumn->addWidget(text_, 1);
    auto* copyRow = new QHBoxLayout;
    copyString_ = new QLineEdit(this);
    copyString_->setObjectName(QStringLiteral("copyString"));
    copyString_->setReadOnly(true);
    copyString_->setToolTip(QStringLiteral("コピー用の文字列です。(CTRL+C)"));
    copyString_->setContextMenuPolicy(Qt::CustomContextMenu);
    insertButton_ = button(this, "insertButton", QStringLiteral("挿入"));
    copyRow->addWidget(copyString_, 1);
    copyRow->addWidget(insertButton_);
    textColumn->addLayout(copyRow);
    middle->addLayout(textColumn, 1);
    middle->addWidget(buildTemplates());
    layout->addLayout(middle, 1);

    layout->addWidget(buildOptions());

    auto* buttons = new QHBoxLayout;
    saveCloseButton_ = button(this, "saveCloseButton", QStringLiteral("保存して閉じる"),
                              QStringLiteral("ｽｹｼﾞｭｰﾙを登録します｡"));
    saveButton_ =
        button(this, "saveButton", QStringLiteral("保存"), QStringLiteral("ｽｹｼﾞｭｰﾙを登録します｡"));
    deleteButton_ = button(this, "deleteButton", QStringLiteral("削除"),
                           QStringLiteral("ｽｹｼﾞｭｰﾙを削除します｡"));
    cancelButton_ = button(this, "cancelButton", QStringLiteral("取り止め"));
    buttons->addWidget(saveCloseButton_);
    buttons->addWidget(saveButton_);
    buttons->addWidget(deleteButton_);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
}

QWidget* PopupEditor::buildDateRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    year_ = spinBox(row, "year", 1, 9999);
    month_ = spinBox(row, "month", 1, 12);
    day_ = spinBox(row, "day", 1, 31);
    todayButton_ =
        button(row, "todayButton", QStringLiteral("今日"), QStringLiteral("今日に戻す｡"));
    hour_ = spinBox(row, "hour", 0, 23);
    minute_ = spinBox(row, "minute", 0, 59);
    hour_->setWrapping(false);
    timePanel_ = new QLabel(row);
    timePanel_->setObjectName(QStringLiteral("timePanel"));
    timePanel_->setAutoFillBackground(true);
    timePanel_->setAlignment(Qt::AlignCenter);
    timePanel_->setMinimumWidth(110);
    uptimeButton_ =
        button(row, "uptimeButton", QStringLiteral("Ｗ"), QStringLiteral("Windows経過時間で指定"));
    timeButton_ = button(row, "timeButton", QStringLiteral("Ｔ"), QStringLiteral("時間で指定"));
    uptimeButton_->setFixedWidth(32);
    timeButton_->setFixedWidth(32);
    layout->addWidget(year_);
    layout->addWidget(new QLabel(QStringLiteral("/"), row));
    layout->addWidget(month_);
    layout->addWidget(new QLabel(QStringLiteral("/"), row));
    layout->addWidget(day_);
    layout->addWidget(todayButton_);
    layout->addSpacing(8);
    layout->addWidget(hour_);
    layout->addWidget(new QLabel(QStringLiteral(":"), row));
    layout->addWidget(minute_);
    layout->addWidget(timePanel_);
    layout->addStretch(1);
    layout->addWidget(uptimeButton_);
    layout->addWidget(timeButton_);
    return row;
}

QWidget* PopupEditor::buildKindArea() {
    modeStack_ = new QStackedWidget(this);
    modeStack_->setObjectName(QStringLiteral("modeStack"));

    auto* timePage = new QWidget(modeStack_);
    auto* timeLayout = new QVBoxLayout(timePage);
    timeLayout->setContentsMargins(0, 0, 0, 0);
    kindTabs_ = new QTabBar(timePage);
    kindTabs_->setObjectName(QStringLiteral("kindTabs"));
    kindTabs_->setToolTip(QStringLiteral("記入ｽｹｼﾞｭｰﾙの選択"));
    for (int i = 0; i < 5; ++i)
        kindTabs_->addTab(QString());
    leadNote_ = new QLabel(timePage);
    leadNote_->setObjectName(QStringLiteral("leadNote"));
    timeLayout->addWidget(kindTabs_);
    timeLayout->addWidget(leadNote_);
    modeStack_->addWidget(timePage);
    modeStack_->addWidget(buildUptimePanel());
    return modeStack_;
}

QWidget* PopupEditor::buildUptimePanel() {
    auto* panel = new QWidget(modeStack_);
    panel->setObjectName(QStringLiteral("uptimePanel"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    // Any number may be typed; the uptime rule then cuts and clamps it.
    uptimeSeconds_ = spinBox(panel, "uptimeSeconds", 0, 99999999, 10);
    uptimeSeconds_->setValue(kMinUptimeSeconds);
    uptimeApprox_ = new QPlainTextEdit(panel);
    uptimeApprox_->setObjectName(QStringLiteral("uptimeApprox"));
    uptimeApprox_->setReadOnly(true);
    uptimeApprox_->setFixedHeight(58);
    uptimeApprox_->setMaximumWidth(110);
    calcSeconds_ = spinBox(panel, "calcSeconds", 1, 3600, 10);
    calcSeconds_->setValue(600);
    calcCount_ = spinBox(panel, "calcCount", 1, 960);
    calcCount_->setValue(1);
    calcButton_ = button(panel, "calcButton", QStringLiteral("計算"));

    grid->addWidget(new QLabel(QStringLiteral("Windowsが起動されてから"), panel), 0, 0);
    grid->addWidget(uptimeSeconds_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("秒経過したらﾎﾟｯﾌﾟｱｯﾌﾟ"), panel), 0, 2);
    grid->addWidget(uptimeApprox_, 0, 3, 3, 1);
    auto* calc = new QHBoxLayout;
    calc->addWidget(calcSeconds_);
    calc->addWidget(new QLabel(QStringLiteral("秒 × "), panel));
    calc->addWidget(calcCount_);
    calc->addWidget(calcButton_);
    grid->addLayout(calc, 1, 0, 1, 3);
    auto* examples = new QLabel(
        QStringLiteral("15分は、900秒です。\n45分は、2700秒です。\n1時間は、3600秒です。"), panel);
    grid->addWidget(examples, 2, 0, 1, 3);
    auto* warning = new QLabel(
        QStringLiteral("Hinagiku起動後の時間経過ではなく、\nWindows起動後の経過時間です。\n"
                       "既に経過してしまった時間については\nﾎﾟｯﾌﾟｱｯﾌﾟしませんので注意して下さい。"),
        panel);
    warning->setObjectName(QStringLiteral("uptimeWarning"));
    QPalette red = warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(red);
    grid->addWidget(warning, 0, 4, 3, 1);
    return panel;
}

QWidget* PopupEditor::buildChoiceGroups() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    holidayGroup_ = new QGroupBox(QStringLiteral("休日なら"), row);
    holidayGroup_->setObjectName(QStringLiteral("holidayGroup"));
    auto* holidayLayout = new QVBoxLayout(holidayGroup_);
    const char* holidayNames[] = {"holidayKeep", "holidayPrevious", "holidayNext"};
    const QString holidayCaptions[] = {QStringLiteral("そのまま"), QStringLiteral("前日へ"),
                                       QStringLiteral("翌日へ")};
    auto* holidayButtons = new QButtonGroup(holidayGroup_);
    for (std::size_t i = 0; i < holiday_.size(); ++i) {
        holiday_[i] = new QRadioButton(holidayCaptions[i], holidayGroup_);
        holiday_[i]->setObjectName(QString::fromLatin1(holidayNames[i]));
        holidayButtons->addButton(holiday_[i]);
        holidayLayout->addWidget(holiday_[i]);
    }

    saturdayGroup_ = new QGroupBox(QStringLiteral("土曜日は"), row);
    saturdayGroup_->setObjectName(QStringLiteral("saturdayGroup"));
    auto* saturdayLayout = new QVBoxLayout(saturdayGroup_);
    auto* saturdayButtons = new QButtonGroup(saturdayGroup_);
    saturday_[0] = new QRadioButton(QStringLiteral("平日"), saturdayGroup_);
    saturday_[0]->setObjectName(QStringLiteral("saturdayWorking"));
    saturday_[1] = new QRadioButton(QStringLiteral("休日扱い"), saturdayGroup_);
    saturday_[1]->setObjectName(QStringLiteral("saturdayOff"));
    for (auto* b : saturday_) {
        saturdayButtons->addButton(b);
        saturdayLayout->addWidget(b);
    }
    saturdayLayout->addStretch(1);

    weekGroup_ = new QGroupBox(QStringLiteral("週指定"), row);
    weekGroup_->setObjectName(QStringLiteral("weekGroup"));
    auto* weekLayout = new QGridLayout(weekGroup_);
    const QString weekCaptions[] = {QStringLiteral("第１週"), QStringLiteral("第２週"),
                                    QStringLiteral("第３週"), QStringLiteral("第４週"),
                                    QStringLiteral("第５週")};
    for (std::size_t i = 0; i < weeks_.size(); ++i) {
        weeks_[i] = new QCheckBox(weekCaptions[i], weekGroup_);
        weeks_[i]->setObjectName(QStringLiteral("week%1").arg(i + 1));
        weekLayout->addWidget(weeks_[i], static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    lastWeek_ = checkBox(weekGroup_, "lastWeek", QStringLiteral("最終週"));
    weekLayout->addWidget(lastWeek_, 2, 1);

    layout->addWidget(holidayGroup_);
    layout->addWidget(saturdayGroup_);
    layout->addWidget(weekGroup_);
    layout->addStretch(1);
    return row;
}

QWidget* PopupEditor::buildOptions() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);

    soundButton_ = button(area, "soundButton", QStringLiteral("サウンド"),
                          QStringLiteral("個別にｻｳﾝﾄﾞを指定できます。"));
    pictureButton_ = button(area, "pictureButton", QStringLiteral("画像"),
                            QStringLiteral("個別にﾋﾞｯﾄﾏｯﾌﾟを指定できます。"));
    wallpaper_ = checkBox(area, "wallpaper", QStringLiteral("壁紙にする"));
    stretch_ = checkBox(area, "stretch", QStringLiteral("ストレッチ解除"));
    mail_ = checkBox(area, "mail", QStringLiteral("メール通知"));
    addToSchedule_ = checkBox(area, "addToSchedule", QStringLiteral("スケジュールに追加"));
    addToSchedule_->setToolTip(QStringLiteral("ｽｹｼﾞｭｰﾙにも内容を追加したい場合はチェック"));
    auto* media = new QHBoxLayout;
    media->addWidget(soundButton_);
    media->addWidget(pictureButton_);
    media->addWidget(wallpaper_);
    media->addWidget(stretch_);
    media->addStretch(1);
    media->addWidget(mail_);
    media->addWidget(addToSchedule_);
    grid->addLayout(media, 0, 0, 1, 2);

    auto* programGroup = new QGroupBox(QStringLiteral("起動するアプリケーションの指定"), area);
    auto* programLayout = new QHBoxLayout(programGroup);
    program_ = new QLineEdit(programGroup);
    program_->setObjectName(QStringLiteral("program"));
    program_->setToolTip(QStringLiteral("実行するアプリをフルパスで指定"));
    browseButton_ =
        button(programGroup, "browseButton", QStringLiteral("..."), QStringLiteral("ﾌｫﾙﾀﾞの参照"));
    programLayout->addWidget(program_, 1);
    programLayout->addWidget(browseButton_);
    grid->addWidget(programGroup, 1, 0, 1, 2);

    auto* closeRow = new QHBoxLayout;
    closeTitle_ = new QLineEdit(area);
    closeTitle_->setObjectName(QStringLiteral("closeTitle"));
    closeTitle_->setToolTip(QStringLiteral("閉じたいウィンドウタイトルの部分文字列を入力"));
    closeRow->addWidget(new QLabel(QStringLiteral("ウィンドウタイトルに"), area));
    closeRow->addWidget(closeTitle_, 1);
    closeRow->addWidget(new QLabel(QStringLiteral("の文字列が含まれる窓を閉じる。"), area));
    grid->addLayout(closeRow, 2, 0, 1, 2);

    auto* autoRow = new QHBoxLayout;
    autoClose_ = checkBox(area, "autoClose", QStringLiteral("ポップアップを"));
    closeSeconds_ = spinBox(area, "closeSeconds", 0, 9999);
    closeSeconds_->setKeyboardTracking(true);
    closeSeconds_->setValue(60);
    closeSeconds_->setEnabled(false);
    autoRow->addWidget(autoClose_);
    autoRow->addWidget(closeSeconds_);
    autoRow->addWidget(new QLabel(QStringLiteral("秒後に閉じる。"), area));
    autoRow->addStretch(1);
    grid->addLayout(autoRow, 3, 0, 1, 2);
    return area;
}

QWidget* PopupEditor::buildTemplates() {
    auto* column = new QWidget(this);
    column->setFixedWidth(190);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* listArea = new QWidget(column);
    auto* listLayout = new QGridLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    templateTitles_ = new QListWidget(listArea);
    templateTitles_->setObjectName(QStringLiteral("templateTitles"));
    templateTitles_->setToolTip(QStringLiteral("定型文のタイトルです。"));
    renameEdit_ = new QLineEdit(listArea);
    renameEdit_->setObjectName(QStringLiteral("renameEdit"));
    renameEdit_->hide();
    listLayout->addWidget(templateTitles_, 0, 0);
    listLayout->addWidget(renameEdit_, 0, 0, Qt::AlignTop);
    renameButton_ = button(column, "renameButton", QStringLiteral("変更"),
                           QStringLiteral("定型文のタイトル変更"));
    renameButton_->setEnabled(false);
    templateText_ = new QTextEdit(column);
    templateText_->setObjectName(QStringLiteral("templateText"));
    templateText_->document()->setDefaultFont(popupFixedFont());
    templateText_->setContextMenuPolicy(Qt::CustomContextMenu);
    templateInsert_ = button(column, "templateInsert", QStringLiteral("定型文を挿入"));
    templateDelete_ = button(column, "templateDelete", QStringLiteral("定型文を削除"));
    templateText_->hide();
    templateInsert_->hide();
    templateDelete_->hide();
    layout->addWidget(listArea, 1);
    layout->addWidget(renameButton_);
    layout->addWidget(templateText_, 1);
    layout->addWidget(templateInsert_);
    layout->addWidget(templateDelete_);
    return column;
}

void PopupEditor::connectControls() {
    for (QSpinBox* box : {year_, month_, day_, hour_, minute_}) {
        connect(box, &QSpinBox::valueChanged, this, core::guard([this] { controlsChanged(); }));
    }
    connect(kindTabs_, &QTabBar::currentChanged, this, core::guard([this] {
                if (updating_ != 0)
                    return;
                core::PlaySoundCue(settings_, "c1");
                controlsChanged();
            }));
    for (auto* b : holiday_)
        connect(b, &QRadioButton::toggled, this, core::guard([this](bool on) {
                    if (on)
                        controlsChanged();
                }));
    for (auto* b : saturday_)
        connect(b, &QRadioButton::toggled, this, core::guard([this](bool on) {
                    if (on)
                        controlsChanged();
                }));
    for (auto* b : weeks_)
        connect(b, &QCheckBox::toggled, this, core::guard([this] { controlsChanged(); }));
    connect(lastWeek_, &QCheckBox::toggled, this, core::guard([this] { controlsChanged(); }));
    connect(todayButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::backToToday));
    connect(uptimeButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::switchToUptime));
    connect(timeButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::switchToTime));
    connect(uptimeSeconds_, &QSpinBox::valueChanged, this,
            core::guard([this] { uptimeSecondsChanged(); }));
    connect(calcButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::calculateSeconds));

    connect(text_, &QTextEdit::textChanged, this, core::guard([this] { optionChanged(); }));
    connect(program_, &QLineEdit::textChanged, this, core::guard([this] { optionChanged(); }));
    connect(closeTitle_, &QLineEdit::textChanged, this, core::guard([this] { optionChanged(); }));
    for (QCheckBox* box : {mail_, wallpaper_, stretch_, addToSchedule_}) {
        connect(box, &QCheckBox::toggled, this, core::guard([this] { optionChanged(); }));
    }
    connect(autoClose_, &QCheckBox::toggled, this, core::guard([this](bool on) {
                closeSeconds_->setEnabled(on);
                optionChanged();
            }));
    connect(closeSeconds_, &QSpinBox::valueChanged, this, core::guard([this] { optionChanged(); }));

    connect(insertButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::insertCopyString));
    connect(soundButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::chooseSound));
    connect(pictureButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::choosePicture));
    connect(browseButton_, &QPushButton::clicked, this, core::guard([this] {
                const QString current = program_->text();
                const QString start = QFileInfo(current).isFile() ? current : QString();
                QFileDialog dialog(this, QString(), start);
                dialog.setFileMode(QFileDialog::ExistingFile);
                dialog.setNameFilters(
                    {QStringLiteral("実行ﾌｧｲﾙ(*.exe;*.com;*.bat;*.lnk) (*.exe *.com *.bat *.lnk)"),
                     QStringLiteral("全てのﾌｧｲﾙ(*.*) (*)")});
                // Linux programs carry no extension: all files are listed first.
                dialog.selectNameFilter(QStringLiteral("全てのﾌｧｲﾙ(*.*) (*)"));
                if (!start.isEmpty())
                    dialog.selectFile(start);
                if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
                    program_->setText(dialog.selectedFiles().front());
                }
            }));
    connect(saveCloseButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::saveAndClose));
    connect(saveButton_, &QPushButton::clicked, this, core::guard([this] { save(); }));
    connect(deleteButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::deleteEntry));
    connect(cancelButton_, &QPushButton::clicked, this, core::guard(this, &QWidget::close));

    connect(text_, &QWidget::customContextMenuRequested, this,
            core::guard([this](const QPoint& p) { showTextMenu(text_, text_->mapToGlobal(p)); }));
    connect(copyString_, &QWidget::customContextMenuRequested, this,
            core::guard([this](const QPoint& p) {
                showTextMenu(copyString_, copyString_->mapToGlobal(p));
            }));
    connect(templateText_, &QWidget::customContextMenuRequested, this,
            core::guard([this](const QPoint& p) {
                showTextMenu(templateText_, templateText_->mapToGlobal(p));
            }));

    connect(templateTitles_, &QListWidget::currentRowChanged, this,
            core::guard([this](int row) { chooseTemplate(row); }));
    connect(renameButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::startRenameTemplate));
    connect(renameEdit_, &QLineEdit::textEdited, this, core::guard([this](const QString& title) {
                if (currentTemplate_ >= 0)
                    templates_.setTitle(currentTemplate_, title.toStdString());
            }));
    connect(renameEdit_, &QLineEdit::editingFinished, this, core::guard([this] {
                if (!renameEdit_->isVisible())
                    return;
                if (currentTemplate_ >= 0) {
                    if (QListWidgetItem* item = templateTitles_->item(currentTemplate_)) {
                        item->setText(renameEdit_->text());
                    }
                }
                renameEdit_->hide();
            }));
    connect(templateText_, &QTextEdit::textChanged, this, core::guard([this] {
                if (templateLoading_ || currentTemplate_ < 0)
                    return;
                try {
                    templates_.save(currentTemplate_,
                                    richtext::saveRichText(*templateText_->document()));
                } catch (const std::exception& e) {
                    // Reported once per template, not at every keystroke.
                    if (!templateErrorShown_) {
                        templateErrorShown_ = true;
                        core::reportError(QString::fromUtf8(e.what()));
                    }
                }
            }));
    connect(templateInsert_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::insertTemplate));
    connect(templateDelete_, &QPushButton::clicked, this,
            core::guard(this, &PopupEditor::deleteTemplate));
}

}  // namespace hinagiku::schedule
