#include "core/ui/password_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/data_folders.h"
#include "core/privacy_lock.h"
#include "core/sound_cues.h"
#include "core/ui/message_box.h"

namespace hinagiku::core {
namespace {

// The five notices shown after a password is set: the lock is no security.
constexpr std::string_view kNotices[] = {
    "このパスワード機能はセキュリティとして機能しません。\rなぜなら、ある程度の知識を持った人なら"
    "簡単にパスワードを知ることができるからです。",
    "ですから、他のパスワードと同じパスワードを設定すると危険です。\r例えばe-mailと同じパスワードだ"
    "ったら、この設定ファイルから簡単に盗めてしまうからです。\rもし同じにしてしまったら、ただちに変"
    "更することを強くお勧めします。",
    "また、データファイル自体も暗号化される訳ではありませんので直接なら参照できます。\r意味がないじ"
    "ゃないかって？そうですね。意味がありません。\rでは、何故この機能があるのでしょうか？",
    "それは、これだけでも第三者のアクセスを防げる場合があるからです。\r（Hinagikuユーザには無理です"
    "が、家族などからは防げるかもしれません。）",
    "単なる牽制でしかなく、セキュリティとして機能しないことをご理解ください。\r簡単にパスワードが分"
    "かるということを忘れないでください。\r危険だということを知っているのが、一番セキュリティが高い"
    "のです。\r中途半端なセキュリティ機能しかないのにパスワードを設定したから安心だ\rと思うことが一"
    "番危ない事でしょう？",
};

QLineEdit* maskedField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    return field;
}

QPushButton* plainButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);  // Enter belongs to the fields
    button->setDefault(false);
    return button;
}

QLabel* label(const char* text, QWidget* parent, int x, int y, int w) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(x, y, w, 20);
    return l;
}

}  // namespace

PasswordWindow::PasswordWindow(platform::Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings) {
    setWindowTitle(QStringLiteral("Password?"));
    setModal(true);
    setFixedSize(384, 178);

    auto* outer = new QGroupBox(QStringLiteral("パスワードの入力・設定"), this);
    outer->setGeometry(4, 2, 376, 172);
    label("Password:", outer, 10, 22, 70);
    password_ = maskedField(outer);
    password_->setObjectName(QStringLiteral("Password"));
    password_->setGeometry(80, 22, 190, 22);
    open_ = plainButton(QStringLiteral("開く"), outer);
    open_->setGeometry(282, 20, 84, 26);
    open_->setEnabled(false);

    auto* access = new QGroupBox(QStringLiteral("前回のアクセス"), outer);
    access->setGeometry(6, 50, 186, 116);
    const char* names[] = {"日記", "電話", "周期"};
    const GuardedFeature features[] = {GuardedFeature::Diary, GuardedFeature::Telephone,
                                       GuardedFeature::Period};
    for (int i = 0; i < 3; ++i) {
        label(names[i], access, 8, 22 + i * 30, 34);
        access_[i] = new QLineEdit(fromUtf8View(lastAccess(settings_, features[i])), access);
        access_[i]->setReadOnly(true);
        access_[i]->setGeometry(38, 22 + i * 30, 142, 22);
    }

    settingGroup_ = new QGroupBox(QStringLiteral("パスワードの設定・変更"), outer);
    settingGroup_->setGeometry(196, 50, 174, 116);
    label("現在のﾊﾟｽﾜｰﾄﾞ", settingGroup_, 6, 20, 80);
    current_ = maskedField(settingGroup_);
    current_->setGeometry(86, 20, 82, 20);
    label("新しいﾊﾟｽﾜｰﾄﾞ", settingGroup_, 6, 43, 84);
    new_ = maskedField(settingGroup_);
    new_->setGeometry(86, 43, 82, 20);
    label("再入力", settingGroup_, 6, 66, 84);
    again_ = maskedField(settingGroup_);
    again_->setGeometry(86, 66, 82, 20);
    tel_ = new QCheckBox(QStringLiteral("簡易電話帳も対象"), settingGroup_);
    tel_->setGeometry(4, 90, 120, 20);
    tel_->setChecked(settings_.readBool("Password", "tel", false));
    set_ = plainButton(QStringLiteral("設定"), settingGroup_);
    set_->setGeometry(124, 88, 44, 24);

    connect(password_, &QLineEdit::textChanged, this,
            [this](const QString& text) { open_->setEnabled(!text.isEmpty()); });
    connect(password_, &QLineEdit::returnPressed, this, [this] {
        if (open_->isEnabled())
            open_->click();
    });
    connect(open_, &QPushButton::clicked, this, &QDialog::accept);
    connect(current_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            enableChangeFields(true);
    });
    connect(new_, &QLineEdit::returnPressed, this, [this] { again_->setFocus(); });
    connect(again_, &QLineEdit::returnPressed, this, [this] {
        if (set_->isEnabled())
            set_->click();
    });
    connect(set_, &QPushButton::clicked, this, &PasswordWindow::setPassword);

    // The folder is made one level deep; with no data folder there is none
    // to make it in, which counts as missing.
    if (!ensurePasswordFolder(settings_)) {
        showMessage(this, {QMessageBox::Critical, fromUtf8View(kMissingFolderMessage)});
        settingGroup_->setEnabled(false);
    } else if (passwordStored(settings_)) {
        enableChangeFields(false);
    } else {
        password_->setEnabled(false);
        enableChangeFields(true);
    }
}

void PasswordWindow::enableChangeFields(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(new_), static_cast<QWidget*>(again_),
                       static_cast<QWidget*>(set_), static_cast<QWidget*>(tel_)}) {
        w->setEnabled(on);
    }
    current_->setEnabled(passwordStored(settings_));
}

QString PasswordWindow::typedPassword() const {
    return password_->text();
}

void PasswordWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaySoundCue(settings_, "pas");
    if (password_->isEnabled())
        password_->setFocus();
    else
        new_->setFocus();
}

void PasswordWindow::setPassword() {
    const std::string current = current_->text().toStdString();
    const std::string fresh = new_->text().toStdString();
    const std::string again = again_->text().toStdString();
    const PasswordChange result =
        changePassword(settings_, current, fresh, again, tel_->isChecked());
    if (result != PasswordChange::Changed) {
        hide();
        showMessage(this,
                    {QMessageBox::Critical,
                     fromUtf8View(result == PasswordChange::WrongCurrent ? kWrongCurrentPassword
                                                                         : kInvalidPassword)});
        reject();
        return;
    }
    // A check in progress compares this field: it now holds the new password.
    password_->setText(new_->text());
    showMessage(this, {QMessageBox::Information, fromUtf8View(kPasswordChanged)});
    for (const std::string_view notice : kNotices)
        showMessage(this, {QMessageBox::NoIcon, fromUtf8View(notice)});
    accept();
}

}  // namespace hinagiku::core
