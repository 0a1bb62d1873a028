#include "memo/ui/memo_search.h"

#include <QLineEdit>
#include <QPointer>

#include "memo/ui/memo_window.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/replace_dialog.h"
#include "richtext/ui/text_finder.h"

namespace hinagiku::memo::memo_search {
namespace {

struct Search {
    richtext::ui::TextFinder finder{nullptr};
    QPointer<richtext::ui::FindDialog> find;
    QPointer<richtext::ui::ReplaceDialog> replace;
    // Kept here as well: the dialogs go with the memo they belong to.
    QString text;
    QString replacement;
};

Search& search() {
    static Search state;
    return state;
}

// Both dialogs move to `memo` together, so the search never points at the
// text of a memo that has gone.
void attach(MemoWindow& memo) {
    Search& s = search();
    s.finder.setEditor(memo.textArea());
    for (QDialog* dialog : {static_cast<QDialog*>(s.find), static_cast<QDialog*>(s.replace)}) {
        if (dialog != nullptr && dialog->parentWidget() != &memo) {
            const Qt::WindowFlags flags = dialog->windowFlags();
            const bool visible = dialog->isVisible();
            dialog->setParent(&memo, flags);
            if (visible)
                dialog->show();
        }
    }
}

void remember(QLineEdit* field, QString& into) {
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [&into](const QString& text) { into = text; });
}

}  // namespace

void openFind(MemoWindow& memo) {
    Search& s = search();
    attach(memo);
    if (s.find == nullptr) {
        s.find = new richtext::ui::FindDialog(s.finder, &memo);
        s.find->textField()->setText(s.text);
        remember(s.find->textField(), s.text);
    } else if (s.find->textField()->text() != s.text) {
        s.find->textField()->setText(s.text);
    }
    s.find->open();
}

void openReplace(MemoWindow& memo) {
    Search& s = search();
    attach(memo);
    if (s.replace == nullptr) {
        s.replace = new richtext::ui::ReplaceDialog(s.finder, &memo);
        remember(s.replace->textField(), s.text);
        remember(s.replace->replacementField(), s.replacement);
    }
    s.replace->textField()->setText(s.text);
    s.replace->replacementField()->setText(s.replacement);
    s.replace->open();
}

richtext::ui::FindDialog* findDialog() {
    return search().find;
}

richtext::ui::ReplaceDialog* replaceDialog() {
    return search().replace;
}

}  // namespace hinagiku::memo::memo_search
