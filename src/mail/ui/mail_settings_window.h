#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "platform/settings.h"

namespace hinagiku::mail {

// "メールサーバーの設定": five pages, every change written at once.
class MailSettingsWindow : public QDialog {
    Q_OBJECT

  public:
    // How the connection tests ask whether to trust a certificate the system
    // cannot verify (default: a question box). Tests answer themselves.
    using TrustQuestion = std::function<bool(const QString& fingerprint)>;

    explicit MailSettingsWindow(platform::Settings& settings, QWidget* parent = nullptr);
    ~MailSettingsWindow() override;

    void setTrustQuestion(TrustQuestion question) { trustQuestion_ = std::move(question); }
    void setConnectionOptions(MailConnection::Options options) { connection_ = std::move(options); }

    // --- for tests and callers that drive the window ---
    QTabWidget* pages() const { return pages_; }
    QCheckBox* periodicBox() const { return periodic_; }
    QSpinBox* minutesBox() const { return minutes_; }
    QLineEdit* mailerBox() const { return mailer_; }
    QLabel* soundLabel() const { return soundLabel_; }
    struct AccountPage {
        QLineEdit* name = nullptr;
        QLineEdit* server = nullptr;
        QLineEdit* user = nullptr;
        QLineEdit* password = nullptr;
        QLineEdit* port = nullptr;
        QCheckBox* check = nullptr;
        QComboBox* tls = nullptr;
        QPushButton* test = nullptr;
        QLabel* passwordMessage = nullptr;
        QLabel* outcome = nullptr;
    };
    const AccountPage& account(int number) const {
        return accounts_.at(static_cast<std::size_t>(number - 1));
    }
    struct SendPage {
        QLineEdit* server = nullptr;
        QLineEdit* port = nullptr;
        QLineEdit* from = nullptr;
        QLineEdit* to = nullptr;
        QCheckBox* agree = nullptr;
        QComboBox* tls = nullptr;
        QLineEdit* user = nullptr;
        QLineEdit* password = nullptr;
        QPushButton* test = nullptr;
        QLabel* passwordMessage = nullptr;
        QLabel* outcome = nullptr;
    };
    const SendPage& sendPage() const { return send_; }

    // The last outcomes of the conversations, shown on the pages.
    void refreshOutcomes();
    // "接続テスト" of account 1..3, or 0 for the sending page.
    void testConnection(int page);

  signals:
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildGeneralPage();
    QWidget* buildAccountPage(int number);
    QWidget* buildSendPage();
    void loadFields();
    QLineEdit* textField(const char* section, std::string key, QWidget* parent);
    QLineEdit* passwordField(const char* section, std::string key, QLabel* message,
                             QWidget* parent);
    void browseMailer();
    void chooseSound();
    void connectionTestEnded(int page, const std::string& state, const std::string& reply,
                             const std::string& fingerprint, bool unverified, bool tlsFailed);

    platform::Settings& settings_;
    QTabWidget* pages_ = nullptr;
    QCheckBox* periodic_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QLineEdit* mailer_ = nullptr;
    QLabel* soundLabel_ = nullptr;
    std::array<AccountPage, 3> accounts_;
    SendPage send_;
    bool loading_ = false;
    TrustQuestion trustQuestion_;
    MailConnection::Options connection_;
    std::unique_ptr<Pop3Client> testPop3_;
    std::unique_ptr<SmtpClient> testSmtp_;
};

}  // namespace hinagiku::mail
