#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <string_view>

namespace hinagiku::core {

// The program's message boxes, titled "Hinagiku": the system beep first when
// `beep` says so, "\r" in texts shown as line breaks. Tests replace the
// boxes with a function that records them and answers.
struct MessageRequest {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    bool beep = true;
};
using MessageFunction = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

QMessageBox::StandardButton showMessage(QWidget* parent, const MessageRequest& request);
// Sets the boxes' replacement; an empty function brings the real boxes back.
void setMessageFunction(MessageFunction function);

QString fromUtf8View(std::string_view text);

}  // namespace hinagiku::core
