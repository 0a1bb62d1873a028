#include "richtext/ui/replace_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "richtext/ui/text_finder.h"

namespace hinagiku::richtext::ui {

ReplaceDialog::ReplaceDialog(TextFinder& finder, QWidget* parent)
    : QDialog(parent), finder_(finder) {
    setWindowTitle(QStringLiteral("置換"));
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    text_ = new QLineEdit(this);
    label->setBuddy(text_);
    auto* label2 = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
    replacement_ = new QLineEdit(this);
    label2->setBuddy(replacement_);
    auto* findButton = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    findButton->setDefault(true);
    auto* replaceButton = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
    auto* allButton = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text_, 0, 1);
    layout->addWidget(label2, 1, 0);
    layout->addWidget(replacement_, 1, 1);
    layout->addWidget(findButton, 0, 2);
    layout->addWidget(replaceButton, 1, 2);
    layout->addWidget(allButton, 2, 2);
    layout->addWidget(cancel, 3, 2);
    connect(findButton, &QPushButton::clicked, this, &ReplaceDialog::find);
    connect(replaceButton, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(allButton, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void ReplaceDialog::open() {
    show();
    raise();
    activateWindow();
    text_->setFocus();
}

bool ReplaceDialog::find() {
    const bool found = finder_.findFromStart(text_->text());
    if (!found)
        QApplication::beep();
    return found;
}

bool ReplaceDialog::replace() {
    const bool done = finder_.replaceFirst(text_->text(), replacement_->text());
    if (done)
        emit replaced();
    close();
    return done;
}

int ReplaceDialog::replaceAll() {
    const int count = finder_.replaceAll(text_->text(), replacement_->text());
    if (count > 0)
        emit replaced();
    close();
    return count;
}

}  // namespace hinagiku::richtext::ui
