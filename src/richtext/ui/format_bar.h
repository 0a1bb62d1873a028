#pragma once

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "platform/settings.h"
#include "richtext/ui/color_history.h"

class QButtonGroup;
class QComboBox;
class QSpinBox;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

namespace hinagiku::richtext::ui {

// The formatting bar of a rich-text editor: font name and size, bold,
// italic, underline, strikeout, text colour with the colour history, bullet
// and (optionally) alignment. Character controls apply to the selection, or
// with nothing selected to the editor's default character attributes;
// bullet and alignment to the selection's paragraphs. Whenever the
// selection moves the bar shows the attributes there, writing nothing back.
class FormatBar : public QWidget {
    Q_OBJECT

  public:
    struct Options {
        bool alignment = true;  // the ToDo board's bar has none
    };
    // Chooses a colour starting at `initial`; nothing when cancelled.
    using ColorChooser =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    FormatBar(QTextEdit* editor, platform::Settings& settings, Options options,
              QWidget* parent = nullptr);

    // Shows the attributes at the editor's selection (on every selection
    // move; call it after loading a document).
    void refresh();
    // Re-reads the colour history ([Nikki] Color1..5); on window activation.
    void reloadHistory();
    void setColorChooser(ColorChooser chooser) { chooser_ = std::move(chooser); }

    // The user's actions, also for tests.
    void applyFamily(const QString& family);
    void applySize(int points);
    void applyBold(bool on);
    void applyItalic(bool on);
    void applyUnderline(bool on);
    void applyStrikeOut(bool on);
    void applyColor(const QColor& color);
    void chooseColor();  // the colour button
    void applySwatch(int index);
    void applyBullet(bool on);
    void applyAlignment(Qt::Alignment alignment);

    QComboBox* fontBox() const { return font_; }
    QSpinBox* sizeBox() const { return size_; }
    QToolButton* boldButton() const { return bold_; }
    QToolButton* italicButton() const { return italic_; }
    QToolButton* underlineButton() const { return underline_; }
    QToolButton* strikeOutButton() const { return strike_; }
    QToolButton* colorButton() const { return color_; }
    QToolButton* swatch(int index) const { return swatches_[static_cast<std::size_t>(index)]; }
    QToolButton* bulletButton() const { return bullet_; }
    QToolButton* alignButton(Qt::Alignment alignment) const;
    bool refreshing() const { return refreshing_; }

  signals:
    // A bar action changed the document or its defaults (the page is modified).
    void formatApplied();
    // The editor's default text colour was set (nothing selected).
    void defaultColorChanged(const QColor& color);

  private:
    void mergeFormat(const QTextCharFormat& format, const std::function<void(QFont&)>& toDefault);
    QColor colorAtSelection() const;

    QTextEdit* editor_;
    platform::Settings& settings_;
    ColorHistory history_;
    ColorChooser chooser_;
    QComboBox* font_;
    QSpinBox* size_;
    QToolButton* bold_;
    QToolButton* italic_;
    QToolButton* underline_;
    QToolButton* strike_;
    QToolButton* color_;
    std::array<QToolButton*, ColorHistory::kSize> swatches_{};
    QToolButton* bullet_;
    std::array<QToolButton*, 3> align_{};
    bool refreshing_ = false;
};

}  // namespace hinagiku::richtext::ui
