#include "core/ui/message_box.h"

#include <QApplication>

#include "core/startup.h"

namespace hinagiku::core {
namespace {

MessageFunction& replacement() {
    static MessageFunction f;
    return f;
}

}  // namespace

QString fromUtf8View(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::StandardButton showMessage(QWidget* parent, const MessageRequest& request) {
    if (replacement())
        return replacement()(request);
    if (request.beep)
        QApplication::beep();
    QString text = request.text;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(request.icon, fromUtf8View(kApplicationTitle), text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageFunction(MessageFunction function) {
    replacement() = std::move(function);
}

}  // namespace hinagiku::core
