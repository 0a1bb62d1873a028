#include "mail/ui/mail_settings_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "core/sound_cues.h"
#include "mail/mail_log.h"
#include "mail/mail_settings.h"
#include "mail/stored_password.h"
#include "schedule/ui/sound_chooser.h"

namespace hinagiku::mail {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kPasswordRule = "パスワードに使えるのは半角の英数字と記号だけです。";

const char* const kAccountCaptions[] = {"アカウント１", "アカウント２", "アカウント３"};
const char* const kAccountPages[] = {"受信１", "受信２", "受信３"};

QComboBox* tlsBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems({QStringLiteral("なし"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
    return box;
}

QLabel* redNote(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(pal);
    return label;
}

}  // namespace

MailSettingsWindow::MailSettingsWindow(platform::Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint),
      settings_(settings) {
    setObjectName(QStringLiteral("MailSettingsWindow"));
    setWindowTitle(QStringLiteral("メールサーバーの設定"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // Masked with "*" as the user knows it.
    setStyleSheet(QStringLiteral("QLineEdit[echoMode=\"2\"] { lineedit-password-character: 42; }"));

    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    layout->addWidget(pages_);
    pages_->addTab(buildGeneralPage(), QStringLiteral("全般"));
    for (int n = 1; n <= 3; ++n)
        pages_->addTab(buildAccountPage(n), QString::fromUtf8(kAccountPages[n - 1]));
    pages_->addTab(buildSendPage(), QStringLiteral("送信"));
    connect(pages_, &QTabWidget::currentChanged, this,
            [this] { core::PlaySoundCue(settings_, "c1"); });
    resize(480, 400);
}

MailSettingsWindow::~MailSettingsWindow() = default;

QLineEdit* MailSettingsWindow::textField(const char* section, std::string key, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setProperty("section", section);
    edit->setProperty("key", qs(key));
    connect(edit, &QLineEdit::textEdited, this, [this, section, key](const QString& text) {
        if (!loading_)
            settings_.writeText(section, key, text.toStdString());
    });
    return edit;
}

QLineEdit* MailSettingsWindow::passwordField(const char* section, std::string key, QLabel* message,
                                             QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setProperty("section", section);
    edit->setProperty("key", qs(key));
    edit->setProperty("password", true);
    connect(edit, &QLineEdit::textEdited, this,
            [this, edit, section, key, message](const QString& text) {
                if (loading_)
                    return;
                const std::string value = text.toStdString();
                if (!isPrintableAscii(value)) {
                    // Refused: the box goes back to what is stored.
                    const QString previous = edit->property("lastValid").toString();
                    edit->setText(previous);
                    message->setText(QString::fromUtf8(kPasswordRule));
                    message->show();
                    return;
                }
                message->hide();
                edit->setProperty("lastValid", text);
                writePassword(settings_, section, key, value);
            });
    return edit;
}

QWidget* MailSettingsWindow::buildGeneralPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    periodic_ = new QCheckBox(QStringLiteral("受信メールを定期的にチェックする。"), page);
    connect(periodic_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            settings_.writeBool("pop", "check", on);
    });
    v->addWidget(periodic_);
    auto* row = new QHBoxLayout;
    minutes_ = new QSpinBox(page);
    minutes_->setRange(1, 300);
    connect(minutes_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!loading_)
            settings_.writeInt("pop", "min", value);
    });
    row->addWidget(minutes_);
    row->addWidget(new QLabel(QStringLiteral("分間隔"), page));
    row->addStretch();
    v->addLayout(row);

    v->addWidget(new QLabel(QStringLiteral("起動メーラー"), page));
    auto* mailerRow = new QHBoxLayout;
    mailer_ = textField("pop", "pop1_program", page);
    auto* browse = new QPushButton(QStringLiteral("..."), page);
    browse->setObjectName(QStringLiteral("BrowseMailer"));
    browse->setFixedWidth(32);
    connect(browse, &QPushButton::clicked, this, &MailSettingsWindow::browseMailer);
    mailerRow->addWidget(mailer_);
    mailerRow->addWidget(browse);
    v->addLayout(mailerRow);

    v->addWidget(new QLabel(QStringLiteral("メール着信ｻｳﾝﾄﾞ"), page));
    auto* soundRow = new QHBoxLayout;
    soundLabel_ = new QLabel(page);
    soundLabel_->setWordWrap(true);
    soundLabel_->setFrameShape(QFrame::StyledPanel);
    auto* soundButton = new QPushButton(QStringLiteral("..."), page);
    soundButton->setObjectName(QStringLiteral("ChooseSound"));
    soundButton->setFixedWidth(32);
    connect(soundButton, &QPushButton::clicked, this, &MailSettingsWindow::chooseSound);
    soundRow->addWidget(soundLabel_, 1);
    soundRow->addWidget(soundButton);
    v->addLayout(soundRow);
    v->addStretch();
    return page;
}

QWidget* MailSettingsWindow::buildAccountPage(int number) {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* group = new QGroupBox(QString::fromUtf8(kAccountCaptions[number - 1]), page);
    auto* form = new QFormLayout(group);
    AccountPage& a = accounts_[static_cast<std::size_t>(number - 1)];
    a.name = textField("pop", pop3Key(number, "name"), group);
    a.server = textField("pop", pop3Key(number, "server"), group);
    a.user = textField("pop", pop3Key(number, "user"), group);
    a.passwordMessage = redNote(kPasswordRule, group);
    a.passwordMessage->hide();
    a.password = passwordField("pop", pop3Key(number, "password"), a.passwordMessage, group);
    a.port = textField("pop", pop3Key(number, "port"), group);
    a.port->setMaxLength(5);
    a.port->setFixedWidth(64);
    a.check = new QCheckBox(QStringLiteral("チェックする。"), group);
    connect(a.check, &QCheckBox::toggled, this, [this, number](bool on) {
        if (!loading_)
            settings_.writeBool("pop", pop3Key(number, "check"), on);
    });
    a.tls = tlsBox(group);
    connect(a.tls, &QComboBox::currentIndexChanged, this, [this, number](int index) {
        if (!loading_)
            settings_.writeInt("pop", pop3Key(number, "tls"), index);
    });
    form->addRow(QStringLiteral("名前"), a.name);
    form->addRow(QStringLiteral("POP3"), a.server);
    form->addRow(QStringLiteral("ユーザー"), a.user);
    form->addRow(QStringLiteral("パスワード"), a.password);
    form->addRow(QString(), a.passwordMessage);
    form->addRow(QStringLiteral("Port"), a.port);
    form->addRow(QStringLiteral("暗号化"), a.tls);
    form->addRow(QString(), a.check);
    v->addWidget(group);
    auto* row = new QHBoxLayout;
    a.test = new QPushButton(QStringLiteral("接続テスト"), page);
    connect(a.test, &QPushButton::clicked, this, [this, number] { testConnection(number); });
    row->addWidget(a.test);
    row->addStretch();
    v->addLayout(row);
    a.outcome = new QLabel(page);
    a.outcome->setWordWrap(true);
    a.outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(a.outcome);
    v->addStretch();
    return page;
}

QWidget* MailSettingsWindow::buildSendPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral("ポップアップスケジュール送信"), page);
    auto* form = new QFormLayout(group);
    SendPage& s = send_;
    s.server = textField("smtp", "smtp_server", group);
    s.port = textField("smtp", "smtp_port", group);
    s.port->setMaxLength(5);
    s.port->setFixedWidth(64);
    s.from = textField("smtp", "smtp_fromaddr", group);
    s.to = textField("smtp", "smtp_mailaddr", group);
    s.tls = tlsBox(group);
    connect(s.tls, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_)
            settings_.writeInt("smtp", "smtp_tls", index);
    });
    s.user = textField("smtp", "smtp_user", group);
    s.passwordMessage = redNote(kPasswordRule, group);
    s.passwordMessage->hide();
    s.password = passwordField("smtp", "smtp_password", s.passwordMessage, group);
    s.agree = new QCheckBox(QStringLiteral("同意して使用する。"), group);
    connect(s.agree, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            settings_.writeBool("smtp", "smtp_check", on);
    });
    form->addRow(QStringLiteral("SMTP"), s.server);
    form->addRow(QStringLiteral("Port"), s.port);
    form->addRow(QStringLiteral("メールアドレス（From）"), s.from);
    form->addRow(QStringLiteral("メールアドレス（To）"), s.to);
    form->addRow(QStringLiteral("暗号化"), s.tls);
    form->addRow(QStringLiteral("ユーザー"), s.user);
    form->addRow(QStringLiteral("パスワード"), s.password);
    form->addRow(QString(), s.passwordMessage);
    form->addRow(redNote("※いたずら目的に使用しないでください。", group));
    form->addRow(redNote("必ず自分の使用するサーバーおよびアドレスを指定してください。", group));
    form->addRow(s.agree);
    v->addWidget(group);
    auto* row = new QHBoxLayout;
    s.test = new QPushButton(QStringLiteral("接続テスト"), page);
    connect(s.test, &QPushButton::clicked, this, [this] { testConnection(0); });
    row->addWidget(s.test);
    row->addStretch();
    v->addLayout(row);
    s.outcome = new QLabel(page);
    s.outcome->setWordWrap(true);
    s.outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(s.outcome);
    v->addStretch();
    return page;
}

void MailSettingsWindow::loadFields() {
    loading_ = true;
    periodic_->setChecked(settings_.readBool("pop", "check", false));
    minutes_->setValue(std::clamp(settings_.readInt("pop", "min", 60), 1, 300));
    soundLabel_->setText(qs(settings_.readText("pop", "sound", "")));
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        const QVariant section = edit->property("section");
        if (!section.isValid())
            continue;
        const std::string s = section.toString().toStdString();
        const std::string k = edit->property("key").toString().toStdString();
        if (edit->property("password").toBool()) {
            const QString password = qs(readPassword(settings_, s, k));
            edit->setText(password);
            edit->setProperty("lastValid", password);
        } else {
            const std::string fallback =
                k.ends_with("_port") ? (s == "smtp" ? "25" : "110") : std::string();
            edit->setText(qs(settings_.readText(s, k, fallback)));
        }
    }
    for (int n = 1; n <= 3; ++n) {
        AccountPage& a = accounts_[static_cast<std::size_t>(n - 1)];
        a.check->setChecked(settings_.readBool("pop", pop3Key(n, "check"), false));
        a.tls->setCurrentIndex(static_cast<int>(readPop3Account(settings_, n).tls));
    }
    send_.agree->setChecked(settings_.readBool("smtp", "smtp_check", false));
    send_.tls->setCurrentIndex(static_cast<int>(readSmtpConfig(settings_).tls));
    loading_ = false;
    refreshOutcomes();
}

void MailSettingsWindow::refreshOutcomes() {
    for (int n = 1; n <= 3; ++n) {
        const std::string text = describeOutcome(lastPop3Outcome(n));
        accounts_[static_cast<std::size_t>(n - 1)].outcome->setText(
            text.empty() ? QString() : QStringLiteral("前回の結果: ") + qs(text));
    }
    const std::string text = describeOutcome(lastSmtpOutcome());
    send_.outcome->setText(text.empty() ? QString() : QStringLiteral("前回の結果: ") + qs(text));
}

void MailSettingsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    core::PlaySoundCue(settings_, "ope");
    loadFields();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void MailSettingsWindow::closeEvent(QCloseEvent* event) {
    core::PlaySoundCue(settings_, "clo");
    emit closed();
    QDialog::closeEvent(event);
}

void MailSettingsWindow::browseMailer() {
    const QString current = mailer_->text().section(QLatin1Char('?'), 0, 0);
    const QString start = QFileInfo::exists(current) ? current : QString();
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("起動メーラー"), start);
    if (chosen.isEmpty())
        return;
    mailer_->setText(chosen);
    settings_.writeText("pop", "pop1_program", chosen.toStdString());
}

void MailSettingsWindow::chooseSound() {
    schedule::SoundChooser chooser(this);
    chooser.setWindowFlag(Qt::WindowStaysOnTopHint);
    chooser.setFileName(qs(settings_.readText("pop", "sound", "")));
    chooser.exec();
    const QString path = chooser.fileName();
    soundLabel_->setText(path);
    settings_.writeText("pop", "sound", path.toStdString());
}

void MailSettingsWindow::testConnection(int page) {
    QLabel* outcome =
        page == 0 ? send_.outcome : accounts_.at(static_cast<std::size_t>(page - 1)).outcome;
    outcome->setText(QStringLiteral("接続しています…"));
    if (page == 0) {
        testSmtp_ = std::make_unique<SmtpClient>();
        testSmtp_->connection().setOptions(connection_);
        connect(testSmtp_.get(), &SmtpClient::finished, this, [this](const SmtpResult& r) {
            connectionTestEnded(0, smtpStateName(r.state), r.lastReply, r.fingerprint, r.unverified,
                                r.state == SmtpState::Tls);
        });
        OutgoingMail probe;
        probe.config = readSmtpConfig(settings_);
        probe.probeOnly = true;
        testSmtp_->send(std::move(probe));
        return;
    }
    testPop3_ = std::make_unique<Pop3Client>();
    testPop3_->connection().setOptions(connection_);
    connect(testPop3_.get(), &Pop3Client::finished, this, [this, page](const Pop3Result& r) {
        std::string state = pop3StateName(r.state);
        if (r.state == Pop3State::Ok)
            state += " (" + std::to_string(r.stat.count) + ")";
        connectionTestEnded(page, state, r.lastReply, r.fingerprint, r.unverified,
                            r.state == Pop3State::Tls);
    });
    testPop3_->start(readPop3Account(settings_, page));
}

void MailSettingsWindow::connectionTestEnded(int page, const std::string& state,
                                             const std::string& reply,
                                             const std::string& fingerprint, bool unverified,
                                             bool tlsFailed) {
    QLabel* outcome =
        page == 0 ? send_.outcome : accounts_.at(static_cast<std::size_t>(page - 1)).outcome;
    const bool ok = state.rfind("ok", 0) == 0 || state == "sent";
    QString text =
        ok ? QStringLiteral("接続できました。") : QStringLiteral("接続できませんでした。");
    text += QStringLiteral(" [") + qs(state) + QStringLiteral("] ") + qs(reply);
    outcome->setText(text);
    if (!(tlsFailed && unverified && !fingerprint.empty()))
        return;
    const QString shown = qs(fingerprint);
    const bool trust =
        trustQuestion_ ? trustQuestion_(shown)
                       : QMessageBox::question(
                             this, QStringLiteral("メールサーバーの設定"),
                             QStringLiteral("サーバーの証明書を確認できません。\n"
                                            "SHA-256: ") +
                                 shown + QStringLiteral("\nこの証明書を信頼して登録しますか？")) ==
                             QMessageBox::Yes;
    if (!trust)
        return;
    if (page == 0)
        settings_.writeText("smtp", "smtp_tls_pin", fingerprint);
    else
        settings_.writeText("pop", pop3Key(page, "tls_pin"), fingerprint);
    outcome->setText(QStringLiteral("証明書を登録しました (SHA-256: ") + shown +
                     QStringLiteral(")。"));
    // Again with the pin, once the client that reported has returned.
    QTimer::singleShot(0, this, [this, page] { testConnection(page); });
}

}  // namespace hinagiku::mail
