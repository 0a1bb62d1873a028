#pragma once

namespace hinagiku::richtext::ui {
class FindDialog;
class ReplaceDialog;
class TextFinder;
}  // namespace hinagiku::richtext::ui

namespace hinagiku::memo {

class MemoWindow;

// The one find and replace of all memo windows: one search, whose texts
// stay from memo to memo. The dialogs belong to the memo that opened them
// last and search its text.
namespace memo_search {

void openFind(MemoWindow& memo);
void openReplace(MemoWindow& memo);
// The dialogs while they exist (tests).
richtext::ui::FindDialog* findDialog();
richtext::ui::ReplaceDialog* replaceDialog();

}  // namespace memo_search
}  // namespace hinagiku::memo
