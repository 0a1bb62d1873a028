#include "richtext/ui/text_finder.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace hinagiku::richtext::ui {

void TextFinder::select(int position, int length) {
    QTextCursor cursor(editor_->document());
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
    editor_->window()->raise();
    editor_->setFocus();
}

bool TextFinder::findNext(const QString& text) {
    if (text.isEmpty())
        return false;
    if (text != last_) {
        last_ = text;
        nextLine_ = 0;
    }
    QTextDocument* document = editor_->document();
    for (QTextBlock block = document->findBlockByNumber(nextLine_); block.isValid();
         block = block.next()) {
        const int index = block.text().indexOf(text, 0, Qt::CaseSensitive);
        if (index >= 0) {
            select(block.position() + index, static_cast<int>(text.size()));
            nextLine_ = block.blockNumber() + 1;
            return true;
        }
    }
    return false;
}

bool TextFinder::findFromStart(const QString& text) {
    if (text.isEmpty())
        return false;
    const QTextCursor found =
        editor_->document()->find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return false;
    select(found.selectionStart(), found.selectionEnd() - found.selectionStart());
    return true;
}

bool TextFinder::replaceFirst(const QString& text, const QString& replacement) {
    if (!findFromStart(text))
        return false;
    editor_->textCursor().insertText(replacement);
    return true;
}

int TextFinder::replaceAll(const QString& text, const QString& replacement) {
    if (text.isEmpty())
        return 0;
    QTextDocument* document = editor_->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor from(document);
    for (;;) {
        QTextCursor found = document->find(text, from, QTextDocument::FindCaseSensitively);
        if (found.isNull())
            break;
        found.insertText(replacement);
        ++count;
        from = found;  // after the replacement
    }
    edit.endEditBlock();
    return count;
}

}  // namespace hinagiku::richtext::ui
