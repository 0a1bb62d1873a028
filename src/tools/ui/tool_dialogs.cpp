#include "tools/ui/tool_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace hinagiku::tools {

ToolDialogs& toolDialogs() {
    static ToolDialogs dialogs{
        [](QWidget* parent, const QString& text, QPoint at) {
            QApplication::beep();
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Hinagiku"), boxText(text),
                            QMessageBox::Ok, parent);
            if (!at.isNull())
                box.move(at);
            box.exec();
        },
        [](QWidget* parent, const QString& text) {
            QApplication::beep();
            QMessageBox box(QMessageBox::Question, QStringLiteral("Hinagiku"), boxText(text),
                            QMessageBox::Yes | QMessageBox::No, parent);
            box.setDefaultButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes;
        },
    };
    return dialogs;
}

QString boxText(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

}  // namespace hinagiku::tools
