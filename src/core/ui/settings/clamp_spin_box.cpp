#include "core/ui/settings/clamp_spin_box.h"

#include <algorithm>

namespace hinagiku::core {

QValidator::State ClampSpinBox::validate(QString& input, int& /*pos*/) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
        return QValidator::Intermediate;
    bool ok = false;
    text.toLongLong(&ok);
    return ok ? QValidator::Acceptable : QValidator::Invalid;
}

int ClampSpinBox::valueFromText(const QString& text) const {
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return this->value();
    return static_cast<int>(std::clamp<long long>(value, minimum(), maximum()));
}

}  // namespace hinagiku::core
