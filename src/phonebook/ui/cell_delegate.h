#pragma once

#include <QStyledItemDelegate>

namespace hinagiku::phonebook {

// Draws the grid's cells like QStyledItemDelegate, but lays out only as much
// of a long cell as could reach its right edge: a cell may hold 4 KB, and
// Qt shapes all of it to place the ellipsis. What is drawn is the same.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The start of `text` that is sure to be wider than `width` pixels when
    // no character is narrower than `minAdvance` (controls, format
    // characters and marks count as nothing); the whole text otherwise.
    static QString shownPart(const QString& text, int width, int minAdvance);

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    mutable QFont font_;  // the font minAdvance_ was measured for
    mutable int minAdvance_ = 0;
};

}  // namespace hinagiku::phonebook
