#pragma once

#include <string>
#include <string_view>

#include "richtext/rich_text.h"
#include "richtext/rtf_writer.h"

class QTextDocument;

namespace hinagiku::richtext {

// The rich text of an entry, diary page, memo or note in a QTextDocument, as
// the editors show it.
//
// Formats used: font family, point size, bold, italic, underline, strikeout
// and foreground colour on characters; horizontal alignment, text indent
// (first line), left and right margin and a list (bullet or numbered) on
// blocks. Margins and the text indent are in pixels at 96 dpi (1 px = 3/4 pt
// = 15 twips), the 4/3 pixels per point of the indent ruler. Characters
// without a family, size or colour take the document's default font and the
// editor's text colour; plain-text files load with no character formats at
// all.

// Replaces the content of `document` with `text`.
void toTextDocument(const RichText& text, QTextDocument& document);

// The content of `document`; characters without a family or size get none.
RichText fromTextDocument(const QTextDocument& document);

// Loads an entry file (RTF, or plain text when it is not RTF) into `document`.
void loadRichText(std::string_view fileBytes, QTextDocument& document);

// The RTF of `document`; characters without a family or size are written in
// the document's default font.
std::string saveRichText(const QTextDocument& document);

// The font RTF output gives to characters that name none: the document's
// default font.
DefaultFont defaultFontOf(const QTextDocument& document);

// The plain text of `document` as entryPlainText gives it for the saved file.
std::string documentPlainText(const QTextDocument& document);

}  // namespace hinagiku::richtext
