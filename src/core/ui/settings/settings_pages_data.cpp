// The pages of the data windows: "メモ", "日記", "ﾎﾟｯﾌﾟｱｯﾌﾟ", "簡易電話帳",
// "ﾊﾞｰｼﾞｮﾝ情報", and the folder panel.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/startup.h"
#include "core/ui/message_box.h"
#include "core/ui/settings/settings_dialog.h"
#include "schedule/ui/picture_chooser.h"
#include "schedule/ui/popup_picture.h"
#include "schedule/ui/sound_chooser.h"

namespace hinagiku::core {
namespace {

QString qs(std::string_view t) {
    return fromUtf8View(t);
}

QLabel* text(const char* t, QWidget* parent) {
    return new QLabel(QString::fromUtf8(t), parent);
}

QLabel* preview(const char* caption, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumSize(160, 60);
    return label;
}

}  // namespace

QWidget* SettingsDialog::fontList(QWidget* parent, const char* section,
                                  std::function<void()> after) {
    auto* list = new QComboBox(parent);
    QStringList families = QFontDatabase::families();
    families.sort();
    list->addItems(families);
    Binding& b = bind(section, "FontName", list);
    const OptionRow* row = b.row;
    b.load = [this, list, row] {
        const QSignalBlocker block(list);
        const QString name = qs(loadedValue(reads(), *row));
        // A font that is not installed here is shown and kept.
        if (list->findText(name, Qt::MatchExactly) < 0)
            list->insertItem(0, name);
        list->setCurrentText(name);
    };
    b.commit = [this, list, row, after] {
        const std::string value = list->currentText().toStdString();
        if (unstorableTextReason(value)) {
            if (!creating_)
                showMessage(this, {QMessageBox::Warning, qs(*unstorableTextReason(value))});
            reload(*row);
            return;
        }
        if (!store(*row, value)) {
            reload(*row);
            return;
        }
        if (after)
            after();
    };
    connect(list, &QComboBox::currentTextChanged, this, [commit = b.commit] { commit(); });
    return list;
}

QWidget* SettingsDialog::buildMemoPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral("メモのデフォルト値の設定"), page);
    setHint(group, "メモの動作を設定できます。");
    auto* grid = new QGridLayout(group);
    auto refresh = [this] { refreshPreviews(); };
    grid->addWidget(text("フォント", group), 0, 0);
    grid->addWidget(fontList(group, "Memo", refresh), 0, 1, 1, 3);
    grid->addWidget(text("文字サイズ", group), 1, 0);
    grid->addWidget(spin(group, "Memo", "FontSize", [this](int) { refreshPreviews(); }), 1, 1);
    grid->addWidget(colorSwatch(group, "背景色", "Memo", "BackColor", refresh), 2, 0);
    grid->addWidget(control("Memo", "BackColor"), 2, 1);
    grid->addWidget(colorSwatch(group, "フォント色", "Memo", "FontColor", refresh), 3, 0);
    grid->addWidget(control("Memo", "FontColor"), 3, 1);
    auto* defaults = new QPushButton(QStringLiteral("デフォルト"), group);
    defaults->setObjectName(QStringLiteral("Memo.default"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        if (storeKey("Memo", "BackColor", std::to_string(0x00FFFF)) &&
            storeKey("Memo", "FontColor", "0")) {
            reload(*findOption("Memo", "BackColor"));
            reload(*findOption("Memo", "FontColor"));
        }
        refreshPreviews();
    });
    grid->addWidget(defaults, 4, 0);
    memoPreview_ = preview("リッチテキストのメモ", group);
    grid->addWidget(memoPreview_, 1, 2, 4, 2);
    grid->addWidget(check(group, "新規メモを開いたら題名記入ウィンドウを表示", "Memo", "Caption"),
                    5, 0, 1, 4);
    grid->addWidget(check(group, "ドロップした場合はファイル名を題名にする", "Memo", "DropCaption"),
                    6, 0, 1, 4);
    grid->addWidget(choice(group, "画像貼り付けの保存形式", "Form", "PastePic", 2), 7, 0, 1, 2);
    auto* place = new QPushButton(QStringLiteral("新規メモの位置、サイズの指定"), group);
    place->setObjectName(QStringLiteral("MemoPlace"));
    connect(place, &QPushButton::clicked, this, &SettingsDialog::placeNewMemos);
    grid->addWidget(place, 7, 2, 1, 2, Qt::AlignBottom);
    outer->addWidget(group);
    outer->addStretch();
    return page;
}

void SettingsDialog::placeNewMemos() {
    const QRect main = host_.mainWindowGeometry();
    // Defaults derived from the main window (integer division truncates).
    const int width = main.width();
    const int height = main.height() / 2;
    const int top = main.top() / 2 + main.height();
    const int left = main.left() / 2 + main.width();
    if (!ask("新規メモの位置、サイズの指定を行いますか？")) {
        if (!ask("新規メモの位置、サイズをデフォルトに戻しますか？"))
            return;
        if (storeKey("Memo", "Width", std::to_string(width)) &&
            storeKey("Memo", "Height", std::to_string(height)) &&
            storeKey("Memo", "top", std::to_string(top)) &&
            storeKey("Memo", "left", std::to_string(left))) {
            PlaySoundCue(settings_, "sav");
        }
        return;
    }
    const QRect bounds(
        settings_.readInt("Memo", "left", left), settings_.readInt("Memo", "top", top),
        settings_.readInt("Memo", "Width", width), settings_.readInt("Memo", "Height", height));
    const QColor background = colorOf(settings_.readInt("Memo", "BackColor", 0x00FFFF));
    QRect result;
    PlaySoundCue(settings_, "ope");
    if (choosers_.memoPlace) {
        result = choosers_.memoPlace(this, bounds, background);
    } else {
        QDialog window(this, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        window.setWindowTitle(QStringLiteral("新規メモの位置、サイズの指定"));
        window.setToolTip(QStringLiteral("決定したらウィンドウを閉じてください。"));
        window.setAutoFillBackground(true);
        QPalette p = window.palette();
        p.setColor(QPalette::Window, background);
        window.setPalette(p);
        window.setGeometry(bounds);
        window.exec();
        result = window.geometry();
    }
    PlaySoundCue(settings_, "sav");
    storeKey("Memo", "Width", std::to_string(result.width())) &&
        storeKey("Memo", "Height", std::to_string(result.height())) &&
        storeKey("Memo", "top", std::to_string(result.top())) &&
        storeKey("Memo", "left", std::to_string(result.left()));
}

QWidget* SettingsDialog::buildDiaryPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral("日記"), page);
    setHint(group, "日記の動作を設定できます。");
    auto* grid = new QGridLayout(group);
    auto refresh = [this] { refreshPreviews(); };
    grid->addWidget(text("フォント", group), 0, 0);
    grid->addWidget(fontList(group, "Nikki", refresh), 0, 1, 1, 3);
    grid->addWidget(text("文字サイズ", group), 1, 0);
    grid->addWidget(spin(group, "Nikki", "FontSize", [this](int) { refreshPreviews(); }), 1, 1);
    grid->addWidget(colorSwatch(group, "背景色", "Nikki", "BackColor", refresh), 2, 0);
    grid->addWidget(control("Nikki", "BackColor"), 2, 1);
    grid->addWidget(colorSwatch(group, "フォント色", "Nikki", "FontColor", refresh), 3, 0);
    grid->addWidget(control("Nikki", "FontColor"), 3, 1);
    auto* defaults = new QPushButton(QStringLiteral("デフォルト"), group);
    defaults->setObjectName(QStringLiteral("Nikki.default"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        if (storeKey("Nikki", "BackColor", std::to_string(0xFFFFFF)) &&
            storeKey("Nikki", "FontColor", "0")) {
            reload(*findOption("Nikki", "BackColor"));
            reload(*findOption("Nikki", "FontColor"));
        }
        refreshPreviews();
    });
    grid->addWidget(defaults, 4, 0);
    diaryPreview_ = preview("リッチテキストの日記", group);
    grid->addWidget(diaryPreview_, 1, 2, 4, 2);
    outer->addWidget(group);

    auto* prompt = new QGroupBox(QStringLiteral("３日坊主の防止"), page);
    setHint(prompt, "日記を強制的に表示し記入を促します。");
    auto* promptColumn = new QVBoxLayout(prompt);
    diaryAutoLine_ = new QWidget(prompt);
    auto* line = new QHBoxLayout(diaryAutoLine_);
    line->setContentsMargins(0, 0, 0, 0);
    promptColumn->addWidget(check(prompt, "有効にする。", "Nikki", "Auto",
                                  [this](bool on) { diaryAutoLine_->setEnabled(on); }));
    line->addWidget(text("毎日", diaryAutoLine_));
    line->addWidget(spin(diaryAutoLine_, "Nikki", "Auto_H"));
    line->addWidget(text("時", diaryAutoLine_));
    line->addWidget(spin(diaryAutoLine_, "Nikki", "Auto_M"));
    line->addWidget(text("分に日記タイトル一覧を表示自動的に開く。", diaryAutoLine_));
    line->addStretch();
    promptColumn->addWidget(diaryAutoLine_);
    outer->addWidget(prompt);
    outer->addStretch();
    return page;
}

QWidget* SettingsDialog::buildPopupPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* sound = new QGroupBox(QStringLiteral("ｽｹｼﾞｭｰﾙ ﾎﾟｯﾌﾟｱｯﾌﾟのｻｳﾝﾄﾞ"), page);
    sound->setToolTip(QStringLiteral("必要なら設定してください"));
    auto* soundRow = new QHBoxLayout(sound);
    QLabel* soundPath = pathLabel(sound, "Calendar", "file");
    setHint(soundPath, "Popupスケジュールが表示される時のサウンド。");
    auto* soundButton = new QPushButton(QStringLiteral("…"), sound);
    soundButton->setObjectName(QStringLiteral("Calendar.file.button"));
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
    grid->addWidget(sound, 0, 0, 1, 3);

    popupPreview_ = new QLabel(page);
    popupPreview_->setObjectName(QStringLiteral("PopupPreview"));
    popupPreview_->setFixedSize(schedule::kPopupPictureSize);
    popupPreview_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    grid->addWidget(popupPreview_, 1, 0, 4, 1);
    QLabel* bitmap = pathLabel(page, "Calendar", "bitmap");
    bitmap->hide();
    auto* pictures = new QWidget(page);
    auto* pictureColumn = new QVBoxLayout(pictures);
    auto* choose = new QPushButton(QStringLiteral("画像"), pictures);
    choose->setObjectName(QStringLiteral("PictureChoose"));
    choose->setToolTip(QStringLiteral("ﾌｧｲﾙ選択"));
    connect(choose, &QPushButton::clicked, this, &SettingsDialog::choosePicture);
    auto* defaultPicture = new QPushButton(QStringLiteral("デフォルト"), pictures);
    defaultPicture->setObjectName(QStringLiteral("PictureDefault"));
    connect(defaultPicture, &QPushButton::clicked, this, [this] {
        if (storeKey("Calendar", "bitmap", ""))
            reload(*findOption("Calendar", "bitmap"));
        showPopupPreview();
    });
    auto* copy =
        new QPushButton(QStringLiteral("デフォルトの画像をクリップボードにコピー"), pictures);
    copy->setObjectName(QStringLiteral("PictureCopy"));
    connect(copy, &QPushButton::clicked, this,
            [] { QApplication::clipboard()->setImage(schedule::defaultPopupPicture()); });
    pictureColumn->addWidget(choose);
    pictureColumn->addWidget(defaultPicture);
    pictureColumn->addWidget(copy);
    pictureColumn->addWidget(text("Popupに表示される画像ファイルのサイズは", pictures));
    pictureColumn->addWidget(text("137×137 です｡", pictures));
    grid->addWidget(pictures, 1, 1, 2, 2);
    grid->addWidget(
        check(page, "ストレッチ解除", "Calendar", "Stretch", [this](bool) { showPopupPreview(); }),
        3, 1);

    auto* lead = new QWidget(page);
    auto* leadRow = new QHBoxLayout(lead);
    leadRow->setContentsMargins(0, 0, 0, 0);
    leadRow->addWidget(text("ﾎﾟｯﾌﾟｱｯﾌﾟを予定の", lead));
    QSpinBox* before = spin(lead, "Calendar", "before");
    setHint(before, "指定した時間だけ早くポップアップします。。");
    leadRow->addWidget(before);
    leadRow->addWidget(text("分前に表示させる。", lead));
    leadRow->addStretch();
    grid->addWidget(lead, 5, 0, 1, 3);
    grid->addWidget(check(page, "ポップアップと共にスケジュール一覧を開く。", "Form", "Exec_List"),
                    6, 0, 1, 3);
    grid->addWidget(check(page, "同様にスケジュール一覧を閉じる。", "Form", "Kill_List"), 7, 0, 1,
                    3);
    grid->setRowStretch(8, 1);
    return page;
}

void SettingsDialog::choosePicture() {
    QLabel* label = qobject_cast<QLabel*>(control("Calendar", "bitmap"));
    const QString current = label->text();
    QString chosen;
    if (choosers_.picture) {
        chosen = choosers_.picture(this, current);
    } else {
        schedule::PictureChooser chooser(settings_, this);
        chooser.move(frameGeometry().topLeft());
        if (QFileInfo::exists(current))
            chooser.setFileName(current);
        chooser.exec();
        chosen = chooser.fileName();
    }
    // A result that names no file acts as "デフォルト".
    std::error_code ec;
    if (!std::filesystem::is_regular_file(chosen.toStdString(), ec))
        chosen.clear();
    if (auto reason = unstorableTextReason(chosen.toStdString())) {
        showMessage(this, {QMessageBox::Warning, qs(*reason)});
        return;
    }
    if (storeKey("Calendar", "bitmap", chosen.toStdString()))
        label->setText(chosen);
    showPopupPreview();
}

void SettingsDialog::showPopupPreview() {
    if (popupPreview_ == nullptr)
        return;
    const std::string path = settings_.readText("Calendar", "bitmap", "");
    const bool stretch = !settings_.readBool("Calendar", "Stretch", false);
    QImage image = schedule::defaultPopupPicture();
    if (!path.empty()) {
        // Other extensions leave the preview as it is.
        const schedule::PopupPicture loaded = schedule::loadPopupPicture(path, false);
        if (!loaded.image.isNull())
            image = loaded.image;
        else if (!popupPreview_->pixmap().isNull())
            return;
    }
    popupPreview_->setPixmap(QPixmap::fromImage(schedule::popupPictureView(image, stretch)));
}

void SettingsDialog::refreshPreviews() {
    auto paint = [this](QLabel* label, int text, int back) {
        if (label == nullptr)
            return;
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colorOf(text));
        p.setColor(QPalette::Window, colorOf(back));
        label->setPalette(p);
    };
    const char* keys[3][2] = {{"PastColor", "PastBackColor"},
                              {"TodayColor", "TodayBackColor"},
                              {"FutureColor", "FutureBackColor"}};
    for (int i = 0; i < 3; ++i)
        paint(schedulePreview_[i], storedNumber("To_do", keys[i][0]),
              storedNumber("To_do", keys[i][1]));
    paint(memoPreview_, storedNumber("Memo", "FontColor"), storedNumber("Memo", "BackColor"));
    paint(diaryPreview_, storedNumber("Nikki", "FontColor"), storedNumber("Nikki", "BackColor"));
    for (QLabel* label : {memoPreview_, diaryPreview_}) {
        if (label == nullptr)
            continue;
        const char* section = label == memoPreview_ ? "Memo" : "Nikki";
        QFont font(qs(loadedValue(reads(), *findOption(section, "FontName"))));
        const int size = storedNumber(section, "FontSize");
        if (size > 0 && size < 200)
            font.setPointSize(size);
        label->setFont(font);
    }
}

QWidget* SettingsDialog::buildVersionPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* version = new QLabel(QStringLiteral("Hinagiku\n") + qs(kVersionLabel), page);
    version->setAlignment(Qt::AlignCenter);
    QFont big = version->font();
    big.setPointSize(big.pointSize() + 4);
    version->setFont(big);
    column->addWidget(version);
    auto* about =
        new QLabel(QStringLiteral("デスクトップに常駐するカレンダーと個人用の整理ツールです。\n"
                                  "予定のお知らせ、日記、メモ、ToDoボード、電話帳、誕生日、"
                                  "ランチャーなどを一つにまとめています。\n"
                                  "設定はすべて hinagiku.ini に保存されます。"),
                   page);
    about->setWordWrap(true);
    about->setAlignment(Qt::AlignCenter);
    column->addWidget(about);
    auto* web = new QPushButton(QStringLiteral("作者のホームページ"), page);
    web->setObjectName(QStringLiteral("WebPage"));
    const QString address = QStringLiteral(HINAGIKU_WEB_PAGE);
    web->setEnabled(!address.isEmpty());
    connect(web, &QPushButton::clicked, this,
            [address] { QDesktopServices::openUrl(QUrl(address)); });
    column->addWidget(web, 0, Qt::AlignCenter);
    column->addStretch();
    return page;
}

QWidget* SettingsDialog::buildFolderPanel() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* data = new QGroupBox(QStringLiteral("ｽｹｼﾞｭｰﾙﾃﾞｰﾀ格納ﾌｫﾙﾀﾞ"), panel);
    data->setToolTip(QStringLiteral("必ず設定してください"));
    setHint(data, "設定しないとスケジュール等が使用出来ません。");
    auto* dataColumn = new QGridLayout(data);
    dataFolderLabel_ = pathLabel(data, "Calendar", "Directory");
    auto* dataButton = new QPushButton(QStringLiteral("ﾃﾞｨﾚｸﾄﾘ選択"), data);
    dataButton->setObjectName(QStringLiteral("DataFolderButton"));
    connect(dataButton, &QPushButton::clicked, this, &SettingsDialog::chooseDataFolder);
    dataColumn->addWidget(dataFolderLabel_, 0, 0);
    dataColumn->addWidget(dataButton, 0, 1);
    dataColumn->addWidget(text("※専用のﾌｫﾙﾀﾞを用意し、必ず設定して下さい｡", data), 1, 0, 1, 2);
    auto* priv = new QGroupBox(QStringLiteral("ﾌﾟﾗｲﾊﾞｼﾃﾞｰﾀ格納ﾌｫﾙﾀﾞ"), panel);
    priv->setToolTip(QStringLiteral("必ず設定してください"));
    setHint(priv, "通常は設定しない方が良いでしょう。");
    auto* privColumn = new QGridLayout(priv);
    privateFolderLabel_ = pathLabel(priv, "Privacy", "Directory");
    privateFolderButton_ = new QPushButton(QStringLiteral("ﾃﾞｨﾚｸﾄﾘ選択"), priv);
    privateFolderButton_->setObjectName(QStringLiteral("PrivateFolderButton"));
    connect(privateFolderButton_, &QPushButton::clicked, this,
            &SettingsDialog::choosePrivateFolder);
    privColumn->addWidget(privateFolderLabel_, 0, 0);
    privColumn->addWidget(privateFolderButton_, 0, 1);
    privColumn->addWidget(text("※日記等、他人に見られたくないならﾌﾛｯﾋﾟｰ等を設定｡", priv), 1, 0, 1,
                          2);
    row->addWidget(data);
    row->addWidget(priv);

    // The private folder's label shows the data folder while it is empty;
    // its button works only while a data folder is set.
    for (Binding& b : bindings_) {
        if (b.widget != privateFolderLabel_)
            continue;
        b.load = [this] {
            privateFolderLabel_->setText(qs(PrivateFolder(reads())));
            privateFolderButton_->setEnabled(DataFolder(reads()) != ".");
        };
        b.commit = [this] {
            const std::string stored = reads().readText("Privacy", "Directory", "");
            if (!unstorableTextReason(stored))
                store(*findOption("Privacy", "Directory"), stored);
        };
    }
    return panel;
}

void SettingsDialog::chooseDataFolder() {
    showMessage(this, {QMessageBox::Question,
                       qs("専用のフォルダは用意しましたか？\rスケジュールデータを格納するフォルダに"
                          "他のファイルが存在するとエラーになります。\r\rまた、既に設定しているので"
                          "あれば特に変更する必要がありますか？"),
                       QMessageBox::Ok});
    const QString start = qs(DataFolder(settings_));
    const QString chosen = choosers_.folder
                               ? choosers_.folder(this, start)
                               : QFileDialog::getExistingDirectory(this, QString(), start);
    if (chosen.isEmpty())
        return;
    const std::string path = chosen.toStdString();
    if (auto reason = unstorableTextReason(path)) {
        showMessage(this, {QMessageBox::Warning, qs(*reason)});
        return;
    }
    const FolderChoice choice = dataFolderChoice(path);
    if (!storeKey("Calendar", "Directory", choice.stored))
        return;
    for (Binding& b : bindings_)
        b.load();  // the start-up options and the private folder follow
    if (choice.isRoot)
        showMessage(this, {QMessageBox::Information, qs(kRootFolderWarning)});
}

void SettingsDialog::choosePrivateFolder() {
    showMessage(this,
                {QMessageBox::Question,
                 qs("日記や、Periodのデータが他人に見られたくない等の理由から\rフロッピー,MO,"
                    "ZIP等の取り外し可能なメディアに記録したい場合のみ\r設定するものです。本当"
                    "に必要ですか？"),
                 QMessageBox::Ok});
    const QString start = privateFolderLabel_->text();
    const QString chosen = choosers_.folder
                               ? choosers_.folder(this, start)
                               : QFileDialog::getExistingDirectory(this, QString(), start);
    if (chosen.isEmpty())
        return;
    const std::string path = chosen.toStdString();
    if (auto reason = unstorableTextReason(path)) {
        showMessage(this, {QMessageBox::Warning, qs(*reason)});
        return;
    }
    const FolderChoice choice = privateFolderChoice(settings_, path);
    if (storeKey("Privacy", "Directory", choice.stored))
        privateFolderLabel_->setText(
            qs(choice.stored.empty() ? DataFolder(settings_) : choice.stored));
}

}  // namespace hinagiku::core
