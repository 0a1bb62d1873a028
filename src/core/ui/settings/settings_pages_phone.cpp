// The page "簡易電話帳": page titles, column titles per page, the browser,
// the mailer and the dialler options.
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/ui/message_box.h"
#include "core/ui/settings/settings_dialog.h"

namespace hinagiku::core {
namespace {

QString qs(std::string_view t) {
    return fromUtf8View(t);
}

std::string titleKey(int tab) {
    return "Title_" + std::to_string(tab);
}

std::string columnKey(int tab, int column) {
    return std::to_string(tab) + "Section_" + std::to_string(column);
}

}  // namespace

QWidget* SettingsDialog::buildPhonePage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    auto* titles = new QGroupBox(QStringLiteral("ページタイトル"), page);
    auto* titleColumn = new QGridLayout(titles);
    phoneTabs_ = new QTabBar(titles);
    phoneTabs_->setObjectName(QStringLiteral("PhoneTabs"));
    phoneTabs_->setExpanding(false);
    phoneTabs_->setUsesScrollButtons(false);
    for (int tab = 0; tab < kPhoneTabCount; ++tab)
        phoneTabs_->addTab(qs(loadedValue(reads(), *findOption("TelePhone", titleKey(tab)))));
    phoneTitle_ = new QLineEdit(titles);
    phoneTitle_->setObjectName(QStringLiteral("TelePhone.Title"));
    auto* titleDefaults = new QPushButton(QStringLiteral("デフォルト"), titles);
    titleDefaults->setObjectName(QStringLiteral("PhoneTitleDefault"));
    titleColumn->addWidget(phoneTabs_, 0, 0, 1, 2);
    titleColumn->addWidget(phoneTitle_, 1, 0);
    titleColumn->addWidget(titleDefaults, 1, 1);
    grid->addWidget(titles, 0, 0, 1, 2);

    phoneColumnGroup_ = new QGroupBox(page);
    auto* columnGrid = new QGridLayout(phoneColumnGroup_);
    auto* header = new QWidget(phoneColumnGroup_);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(0);
    for (int column = 0; column < kPhoneColumnCount; ++column) {
        auto* label = new QLabel(QStringLiteral("%1.").arg(column + 1), phoneColumnGroup_);
        phoneColumns_[column] = new QLineEdit(phoneColumnGroup_);
        phoneColumns_[column]->setObjectName(QStringLiteral("TelePhone.Section_%1").arg(column));
        columnGrid->addWidget(label, column / 3, (column % 3) * 2);
        columnGrid->addWidget(phoneColumns_[column], column / 3, (column % 3) * 2 + 1);
        phoneHeader_[column] = new QLabel(header);
        phoneHeader_[column]->setFrameStyle(QFrame::Panel | QFrame::Raised);
        phoneHeader_[column]->setAlignment(Qt::AlignCenter);
        headerRow->addWidget(phoneHeader_[column], 1);
    }
    phoneColumns_[3]->setToolTip(QStringLiteral("この項目は e-mailアドレス固定です。"));
    phoneColumns_[4]->setToolTip(QStringLiteral("この項目は URL固定です。"));
    auto* columnDefaults = new QPushButton(QStringLiteral("デフォルト"), phoneColumnGroup_);
    columnDefaults->setObjectName(QStringLiteral("PhoneColumnDefault"));
    columnGrid->addWidget(columnDefaults, 1, 4, 1, 2);
    columnGrid->addWidget(header, 2, 0, 1, 6);
    grid->addWidget(phoneColumnGroup_, 1, 0, 1, 2);

    auto* programs = new QWidget(page);
    auto* programGrid = new QGridLayout(programs);
    programGrid->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* caption;
        const char* key;
        const char* hint;
    } fields[] = {{"ブラウザー", "Browser", "入力が無ければ関連付けされたブラウザを起動します。"},
                  {"メール送信", "Mailer", "入力が無ければ関連付けされたメーラーを起動します。"}};
    for (int i = 0; i < 2; ++i) {
        programGrid->addWidget(new QLabel(QString::fromUtf8(fields[i].caption), programs), i, 0);
        QLineEdit* field = textField(programs, "TelePhone", fields[i].key);
        setHint(field, fields[i].hint);
        programGrid->addWidget(field, i, 1);
        auto* browse = new QPushButton(QStringLiteral("…"), programs);
        browse->setObjectName(QStringLiteral("TelePhone.%1.button").arg(fields[i].key));
        programGrid->addWidget(browse, i, 2);
        connect(browse, &QPushButton::clicked, this, [this, field] {
            const QString current = field->text();
            QString chosen;
            if (choosers_.program) {
                chosen = choosers_.program(this, current);
            } else {
                lower();  // the file dialog comes in front
                QFileDialog dialog(nullptr);
                dialog.setFileMode(QFileDialog::ExistingFile);
                dialog.setOption(QFileDialog::ReadOnly, false);
                if (QFileInfo::exists(current))
                    dialog.selectFile(current);
                if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                    chosen = dialog.selectedFiles().front();
            }
            if (!chosen.isEmpty())
                field->setText(chosen);  // writes it as typing does
        });
    }
    grid->addWidget(programs, 2, 0, 1, 2);

    auto* dialler = new QWidget(page);
    auto* diallerRow = new QHBoxLayout(dialler);
    diallerRow->setContentsMargins(0, 0, 0, 0);
    QCheckBox* close = check(dialler, "ダイヤラを閉じる。", "TelePhone", "Close",
                             [this](bool on) { closeTitle_->setEnabled(on); });
    setHint(close, "簡易電話帳を閉じる時ダイヤラも閉じるならチェック。");
    closeTitle_ = textField(dialler, "TelePhone", "CloseTitle");
    setHint(closeTitle_, "閉じたい窓のタイトルを入力。");
    diallerRow->addWidget(close);
    diallerRow->addWidget(closeTitle_, 1);
    grid->addWidget(dialler, 3, 0, 1, 2);
    auto* tone = new QWidget(page);
    auto* toneRow = new QHBoxLayout(tone);
    toneRow->setContentsMargins(0, 0, 0, 0);
    toneRow->addWidget(new QLabel(QStringLiteral("トール音の間隔"), tone));
    QSpinBox* sleep = spin(tone, "TelePhone", "Sleep");
    setHint(sleep, "スピーカからのトール音（プッシュ）間隔を設定します。");
    toneRow->addWidget(sleep);
    toneRow->addWidget(new QLabel(QStringLiteral("ミリ秒"), tone));
    toneRow->addStretch();
    grid->addWidget(tone, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    connect(phoneTabs_, &QTabBar::currentChanged, this, &SettingsDialog::phoneTabChanged);
    connect(phoneTitle_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int tab = phoneTabs_->currentIndex();
        const std::string value = text.toStdString();
        if (auto reason = unstorableTextReason(value)) {
            showMessage(this, {QMessageBox::Warning, qs(*reason)});
            phoneTabChanged(tab);
            return;
        }
        if (!storeKey("TelePhone", titleKey(tab), value)) {
            phoneTabChanged(tab);
            return;
        }
        phoneTabs_->setTabText(tab, text);
        phoneColumnGroup_->setTitle(text + QStringLiteral(" の項目タイトル"));
    });
    for (int column = 0; column < kPhoneColumnCount; ++column) {
        connect(phoneColumns_[column], &QLineEdit::textChanged, this,
                [this, column](const QString& text) {
                    const int tab = phoneTabs_->currentIndex();
                    const std::string value = text.toStdString();
                    if (auto reason = unstorableTextReason(value)) {
                        showMessage(this, {QMessageBox::Warning, qs(*reason)});
                        phoneTabChanged(tab);
                        return;
                    }
                    if (!storeKey("TelePhone", columnKey(tab, column), value)) {
                        phoneTabChanged(tab);
                        return;
                    }
                    phoneHeader_[column]->setText(text);
                });
    }
    connect(titleDefaults, &QPushButton::clicked, this, &SettingsDialog::phoneDefaults);
    connect(columnDefaults, &QPushButton::clicked, this, &SettingsDialog::phoneColumnDefaults);
    return page;
}

void SettingsDialog::phoneTabChanged(int tab) {
    if (tab < 0)
        return;
    const std::string title = loadedValue(reads(), *findOption("TelePhone", titleKey(tab)));
    {
        const QSignalBlocker block(phoneTitle_);
        phoneTitle_->setText(qs(title));
    }
    phoneTabs_->setTabText(tab, qs(title));
    phoneColumnGroup_->setTitle(qs(title) + QStringLiteral(" の項目タイトル"));
    if (creating_ && !unstorableTextReason(title))
        storeKey("TelePhone", titleKey(tab), title);
    for (int column = 0; column < kPhoneColumnCount; ++column) {
        const std::string value =
            loadedValue(reads(), *findOption("TelePhone", columnKey(tab, column)));
        const QSignalBlocker block(phoneColumns_[column]);
        phoneColumns_[column]->setText(qs(value));
        phoneHeader_[column]->setText(qs(value));
        if (creating_ && !unstorableTextReason(value))
            storeKey("TelePhone", columnKey(tab, column), value);
    }
}

void SettingsDialog::phoneDefaults() {
    if (!ask("全ての項目がデフォルトになります。\rよろしいですか？"))
        return;
    for (int tab = 0; tab < kPhoneTabCount; ++tab) {
        if (!storeKey("TelePhone", titleKey(tab), std::string(kPhoneTabNames[tab])))
            break;
    }
    for (int tab = 0; tab < kPhoneTabCount; ++tab)
        phoneTabs_->setTabText(tab,
                               qs(loadedValue(reads(), *findOption("TelePhone", titleKey(tab)))));
    phoneTabChanged(phoneTabs_->currentIndex());
}

void SettingsDialog::phoneColumnDefaults() {
    const int tab = phoneTabs_->currentIndex();
    for (int column = 0; column < kPhoneColumnCount; ++column) {
        if (!storeKey("TelePhone", columnKey(tab, column),
                      std::string(kPhoneColumnNames[column]))) {
            break;
        }
    }
    phoneTabChanged(tab);
}

}  // namespace hinagiku::core
