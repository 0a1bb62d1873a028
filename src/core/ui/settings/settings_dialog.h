#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/option_table.h"
#include "core/ui/settings/settings_host.h"
#include "platform/settings.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QComboBox;
class QTabBar;

namespace hinagiku::core {

// The dialogs the settings dialog opens, replaceable so that tests can
// answer them. Empty members use the real dialogs.
struct SettingsDialogChoosers {
    // A colour dialog on `initial`; nothing when cancelled.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> color;
    // A folder chooser that may create folders; empty when none was chosen.
    std::function<QString(QWidget* parent, const QString& start)> folder;
    // A file-open dialog for a program; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& current)> program;
    // The sound and picture choosers: their result, whatever it names.
    std::function<QString(QWidget* parent, const QString& current)> sound;
    std::function<QString(QWidget* parent, const QString& current)> picture;
    // The password window and its comparison.
    std::function<bool(QWidget* parent)> password;
    // The window that shows where new memos go: the bounds the user left
    // it with, starting from `bounds`.
    std::function<QRect(QWidget* parent, const QRect& bounds, const QColor& background)> memoPlace;
};

// "Hinagiku 環境設定": ten pages and the folder panel. Every control writes
// its setting when it changes; there is no OK or Cancel. `settings` and
// `host` must outlive the dialog.
class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(platform::Settings& settings, SettingsHost& host,
                   SettingsDialogChoosers choosers = {}, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // The control of a setting of the option table (objectName
    // "Section.Key"); nullptr when the setting has none.
    QWidget* control(std::string_view section, std::string_view key) const;
    QTabWidget* pages() const { return pages_; }
    QStatusBar* statusBar() const { return statusBar_; }
    QWidget* folderPanel() const { return folderPanel_; }

    // Buttons and fields that are not one setting.
    QPushButton* colorButton(std::string_view section, std::string_view key) const;
    QPushButton* button(const QString& objectName) const;

    // The texts of the status bar, for the element under the mouse.
    QString statusTextFor(QWidget* widget) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct Binding {
        const OptionRow* row = nullptr;
        QWidget* widget = nullptr;
        std::function<void()> load;    // the control from the settings, no signals
        std::function<void()> commit;  // the control's value written, with side effects
    };

    // Pages.
    QWidget* buildBasicPage();
    QWidget* buildExtendedPage();
    QWidget* buildAuxiliaryPage();
    QWidget* buildCalendarPage();
    QWidget* buildSchedulePage();
    QWidget* buildMemoPage();
    QWidget* buildDiaryPage();
    QWidget* buildPopupPage();
    QWidget* buildPhonePage();
    QWidget* buildVersionPage();
    QWidget* buildFolderPanel();

    // Controls bound to one setting.
    QCheckBox* check(QWidget* parent, const char* caption, const char* section, const char* key,
                     std::function<void(bool)> after = {});
    QGroupBox* choice(QWidget* parent, const char* caption, const char* section, const char* key,
                      int columns = 1, std::function<void(int)> after = {});
    QSpinBox* spin(QWidget* parent, const char* section, const char* key,
                   std::function<void(int)> after = {});
    QLineEdit* textField(QWidget* parent, const char* section, const char* key,
                         std::function<void(const QString&)> after = {});
    QLabel* pathLabel(QWidget* parent, const char* section, const char* key);
    QPushButton* colorSwatch(QWidget* parent, const char* caption, const char* section,
                             const char* key, std::function<void()> after = {});
    QWidget* fontList(QWidget* parent, const char* section, std::function<void()> after);
    Binding& bind(const char* section, const char* key, QWidget* widget);

    // Writes one value: at once, or collected while the dialog is being
    // created. False (after the error report) when the file refused it.
    bool store(const OptionRow& row, const std::string& value);
    bool storeKey(std::string_view section, std::string_view key, const std::string& value);
    // Runs `effect` now, or after creation's writes when creating.
    void afterWrites(std::function<void()> effect);
    void reload(const OptionRow& row);
    int storedNumber(const char* section, const char* key) const;
    QColor colorOf(int value) const;
    void setHint(QWidget* widget, const char* text);

    // Actions.
    void chooseColor(const OptionRow& row);
    void chooseDataFolder();
    void choosePrivateFolder();
    void choosePicture();
    void showPopupPreview();
    void placeNewMemos();
    void passwordSwitchClicked(bool checked);
    void phoneTabChanged(int tab);
    void phoneDefaults();
    void phoneColumnDefaults();
    void holidayFieldsChanged();
    void statusBarClicked();
    void refreshPreviews();
    bool ask(const char* text);

    // What the controls load from: the file read once while the dialog is
    // being created, the file itself afterwards.
    const platform::Settings& reads() const;

    platform::Settings& settings_;
    std::unique_ptr<platform::Settings> snapshot_;
    SettingsHost& host_;
    SettingsDialogChoosers choosers_;
    bool creating_ = true;
    std::vector<std::pair<const OptionRow*, std::string>> pendingWrites_;
    std::vector<std::function<void()>> pendingEffects_;
    std::deque<Binding> bindings_;

    QTabWidget* pages_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QWidget* folderPanel_ = nullptr;
    std::vector<std::pair<QObject*, QString>> statusTexts_;
    int statusClicks_ = 0;

    // Fields and previews that several handlers touch.
    QCheckBox* passwordSwitch_ = nullptr;
    QCheckBox* rebootExec_ = nullptr;
    QCheckBox* happyMonday_ = nullptr;
    QLabel* popupPreview_ = nullptr;
    QLabel* memoPreview_ = nullptr;
    QLabel* diaryPreview_ = nullptr;
    QLabel* schedulePreview_[3] = {};
    QWidget* diaryAutoLine_ = nullptr;
    QLineEdit* closeTitle_ = nullptr;
    QLabel* dataFolderLabel_ = nullptr;
    QLabel* privateFolderLabel_ = nullptr;
    QPushButton* privateFolderButton_ = nullptr;
    QTabBar* phoneTabs_ = nullptr;
    QLineEdit* phoneTitle_ = nullptr;
    QLineEdit* phoneColumns_[kPhoneColumnCount] = {};
    QLabel* phoneHeader_[kPhoneColumnCount] = {};
    QGroupBox* phoneColumnGroup_ = nullptr;
    QSpinBox* holidayMonth_ = nullptr;
    QSpinBox* holidayDay_ = nullptr;
    QLineEdit* holidayName_ = nullptr;
    QPushButton* holidayDelete_ = nullptr;
    QLineEdit* periodCaption_ = nullptr;
};

// Makes openSettingsDialog() create the dialog once, or bring the open one
// to the front; the main window's menu item shows the check mark meanwhile.
void installSettingsDialog(platform::Settings& settings, SettingsHost& host,
                           SettingsDialogChoosers choosers = {});

// The open dialog, or nullptr.
SettingsDialog* openSettingsDialogWindow();

}  // namespace hinagiku::core
