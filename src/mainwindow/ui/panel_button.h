#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace hinagiku::mainwindow {

// A flat picture button: only the face colour until the mouse is over it,
// a raised edge when hot, a sunken edge and a one-pixel shift when down.
// The glyph holds up to four images side by side: hot, disabled, down, flat.
class TPanelButton : public QAbstractButton {
    Q_OBJECT

  public:
    enum class State { Flat, Hot, Down, Disabled };
    enum class GlyphLayout { Left, Right, Top, Bottom };

    explicit TPanelButton(QWidget* parent = nullptr);

    QPixmap glyph() const { return glyph_; }
    void setGlyph(const QPixmap& glyph);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);  // 1..4
    GlyphLayout glyphLayout() const { return layout_; }
    void setGlyphLayout(GlyphLayout layout);
    // Distance of the glyph from the edge; -1 centres glyph and caption.
    int margin() const { return margin_; }
    void setMargin(int margin);
    int spacing() const { return spacing_; }
    void setSpacing(int spacing);

    State state() const;
    // The glyph image drawn in a state.
    QPixmap glyphFor(State state) const;

    QSize sizeHint() const override { return {31, 31}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap image(int index) const;

    QPixmap glyph_;
    int numGlyphs_ = 1;
    GlyphLayout layout_ = GlyphLayout::Left;
    int margin_ = -1;
    int spacing_ = 4;
    bool hot_ = false;
};

}  // namespace hinagiku::mainwindow
