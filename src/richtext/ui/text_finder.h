#pragma once

#include <QString>

class QTextEdit;

namespace hinagiku::richtext::ui {

// Find and replace in a rich-text editor, as the find and replace dialogs
// ask for it. Searches are case-sensitive.
class TextFinder {
  public:
    explicit TextFinder(QTextEdit* editor) : editor_(editor) {}

    // Points the search at another editor (one search shared by windows).
    void setEditor(QTextEdit* editor) { editor_ = editor; }
    QTextEdit* editor() const { return editor_; }

    // Opening the find dialog starts again at the first line.
    void restart() { nextLine_ = 0; }
    // Find-next: from the line after the last match (the first line when the
    // text changed), selects the first occurrence in the first line that
    // holds the text. False when no further line does.
    bool findNext(const QString& text);
    // The first occurrence in the whole text, selected; false when none.
    bool findFromStart(const QString& text);
    // Replaces the first occurrence; false when there is none.
    bool replaceFirst(const QString& text, const QString& replacement);
    // Replaces every occurrence in one pass from the start (a replacement
    // that holds the text is not searched again), as one undo step.
    // Returns the count.
    int replaceAll(const QString& text, const QString& replacement);

  private:
    void select(int position, int length);

    QTextEdit* editor_;
    QString last_;
    int nextLine_ = 0;
};

}  // namespace hinagiku::richtext::ui
