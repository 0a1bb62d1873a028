#include "memo/ui/memo_rename_dialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace hinagiku::memo {

MemoRenameDialog::MemoRenameDialog(const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Tool), old_(title), field_(new QLineEdit(title, this)) {
    setWindowTitle(title);
    auto* undo = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), {}, this);
    undo->setToolTip(QStringLiteral("元に戻す｡"));
    undo->setAutoDefault(false);
    auto* done = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), {}, this);
    done->setToolTip(QStringLiteral("題名を変更します｡"));
    done->setDefault(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(field_, 1);
    layout->addWidget(undo);
    layout->addWidget(done);
    connect(undo, &QPushButton::clicked, this, [this] { field_->setText(old_); });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    field_->selectAll();
    field_->setFocus();
    resize(300, sizeHint().height());
}

QString MemoRenameDialog::text() const {
    return field_->text();
}

}  // namespace hinagiku::memo
