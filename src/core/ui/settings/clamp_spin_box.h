#pragma once

#include <QSpinBox>

namespace hinagiku::core {

// A spin box that takes any whole number typed and clamps it into its
// range at once, so that typing "75" into 0..59 gives 59 (a stock spin box
// rejects the "5" and keeps 7).
class ClampSpinBox : public QSpinBox {
    Q_OBJECT
  public:
    using QSpinBox::QSpinBox;

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

}  // namespace hinagiku::core
