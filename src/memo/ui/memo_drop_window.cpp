#include "memo/ui/memo_drop_window.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace hinagiku::memo {

MemoDropWindow::MemoDropWindow(const QString& title, int fileCount, bool stickyPaper,
                               const QRect& memo, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Drop-[") + title + QStringLiteral("]"));
    const bool several = fileCount > 1;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QString captions[3] = {several ? QStringLiteral("最初のファイルのみ、このメモに読込")
                                         : QStringLiteral("このメモに読込"),
                                 several ? QStringLiteral("全てのファイルを、新しいメモに読込")
                                         : QStringLiteral("新しいメモに読込"),
                                 QStringLiteral("キャンセル")};
    const int choices[3] = {1, several ? 3 : 2, 0};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new QPushButton(captions[i], this);
        buttons_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(buttons_[i]);
        const int choice = choices[i];
        connect(buttons_[i], &QPushButton::clicked, this, [this, choice] { this->choose(choice); });
    }
    if (!several) {
        buttons_[0]->setToolTip(QStringLiteral("このメモに上書きされます。"));
        buttons_[1]->setToolTip(QStringLiteral("新しいメモを新規に開きます。"));
    }
    buttons_[0]->setEnabled(!stickyPaper);
    buttons_[several || stickyPaper ? 1 : 0]->setDefault(true);

    const int width = memo.width() < 143 ? 230 : memo.width();
    setFixedWidth(width);
    setFixedHeight(layout->sizeHint().height());
    QRect g(memo.topLeft(), QSize(width, height()));
    if (QScreen* screen = QGuiApplication::screenAt(memo.center())
                              ? QGuiApplication::screenAt(memo.center())
                              : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        g.moveLeft(std::max(area.left(), std::min(g.left(), area.right() + 1 - g.width())));
        g.moveTop(std::max(area.top(), std::min(g.top(), area.bottom() + 1 - g.height())));
    }
    move(g.topLeft());
}

void MemoDropWindow::choose(int choice) {
    choice_ = choice;
    accept();
}

}  // namespace hinagiku::memo
