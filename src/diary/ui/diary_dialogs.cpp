#include "diary/ui/diary_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "schedule/ui/picture_chooser.h"

namespace hinagiku::diary::ui {

DiaryDialogs standardDiaryDialogs(const platform::Settings& settings) {
    DiaryDialogs dialogs;
    dialogs.saveFileName = [](QWidget* parent, const QString& preset) {
        return QFileDialog::getSaveFileName(parent, QString(), preset,
                                            QStringLiteral("Diary files (*.JNL);;All files (*)"));
    };
    dialogs.confirmDelete = [](QWidget* parent) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Question, QStringLiteral("Hinagiku"),
                        QStringLiteral("削除しますか？"), QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.move(parent->frameGeometry().topLeft());
        return box.exec() == QMessageBox::Yes;
    };
    dialogs.warn = [](QWidget* parent, const QString& text) {
        QApplication::beep();
        QString shown = text;
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QMessageBox::warning(parent, QStringLiteral("Hinagiku"), shown);
    };
    dialogs.print = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    dialogs.chooseColor = [](QWidget* parent, const QColor& initial) -> std::optional<QColor> {
        const QColor color = QColorDialog::getColor(initial, parent);
        if (!color.isValid())
            return std::nullopt;
        return color;
    };
    dialogs.choosePicture = [&settings](QWidget* parent, const QString& current) {
        schedule::PictureChooser chooser(settings, parent);
        chooser.setFileName(current);
        chooser.move(parent->frameGeometry().topLeft());
        chooser.exec();
        return chooser.fileName();
    };
    return dialogs;
}

}  // namespace hinagiku::diary::ui
