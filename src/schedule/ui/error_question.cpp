#include "schedule/ui/error_question.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace hinagiku::schedule {

ErrorQuestion errorBoxQuestion(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](const QString& text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Hinagiku"), messageBoxText(text),
                        QMessageBox::Yes | QMessageBox::No, owner.data());
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
}

QString messageBoxText(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

}  // namespace hinagiku::schedule
