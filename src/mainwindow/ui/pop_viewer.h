#pragma once

#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/ui/panel_button.h"
#include "platform/settings.h"

namespace hinagiku::mainwindow {

// The small stay-on-top window with the day view of a clicked day. It
// closes when it loses activation and on Esc, and frees itself.
class PopViewer : public QWidget {
    Q_OBJECT

  public:
    // The row of buttons, in their order.
    enum class Button {
        PopupRegistration,
        ScheduleRegistration,
        Birthdays,
        DiaryList,
        ScheduleManagement,
        ScheduleList,
        TodoBoard,
        PhoneBook,
    };
    static constexpr int kButtonCount = 8;

    explicit PopViewer(const platform::Settings& settings, QWidget* parent = nullptr);

    void setContent(const QString& caption, const std::vector<std::string>& lines,
                    const QColor& text, const QColor& background);
    // An empty action disables the button (its window is not available).
    void setButtonAction(Button button, std::function<void()> action);

    QString text() const { return text_->toPlainText(); }
    QPlainTextEdit* textBox() const { return text_; }
    TPanelButton* button(Button which) const { return buttons_[static_cast<int>(which)]; }

    // Top-left corner 20 pixels right of and below `cursor`, kept on the
    // screen under the cursor.
    void placeNear(QPoint cursor);

  signals:
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const platform::Settings& settings_;
    QPlainTextEdit* text_;
    std::array<TPanelButton*, kButtonCount> buttons_{};
    std::array<std::function<void()>, kButtonCount> actions_;
    bool wasActive_ = false;
    bool closedSent_ = false;
};

}  // namespace hinagiku::mainwindow
