#include "richtext/ui/find_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "richtext/ui/text_finder.h"

namespace hinagiku::richtext::ui {

FindDialog::FindDialog(TextFinder& finder, QWidget* parent) : QDialog(parent), finder_(finder) {
    setWindowTitle(QStringLiteral("検索"));
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    text_ = new QLineEdit(this);
    label->setBuddy(text_);
    find_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    find_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text_, 0, 1);
    layout->addWidget(find_, 0, 2);
    layout->addWidget(cancel, 1, 2);
    connect(find_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void FindDialog::open() {
    finder_.restart();
    show();
    raise();
    activateWindow();
    text_->setFocus();
}

bool FindDialog::findNext() {
    return finder_.findNext(text_->text());
}

}  // namespace hinagiku::richtext::ui
