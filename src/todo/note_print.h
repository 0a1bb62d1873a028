#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "todo/outline.h"

class QPagedPaintDevice;
class QTextDocument;

namespace hinagiku::todo {

// The job title of every print.
inline constexpr const char* kPrintTitle = "Todo Board";

// The heading lines a print starts with (UTF-8): "【folder】",
// "【タイトル：item】" and an empty line for an item; a folder or the trash
// heads with its own title.
std::vector<std::string> printHeading(const Outline& outline, std::size_t pos);

// The titles of pos's children, one a line (UTF-8): what the text area shows
// for a folder or the trash.
std::string childTitles(const Outline& outline, std::size_t pos);

// Prints `note` with `heading` on top. The heading goes into a copy, so the
// note and its undo history never see it.
void printWithHeading(const QTextDocument& note, const std::vector<std::string>& heading,
                      QPagedPaintDevice& device);

// The same into a PDF file titled kPrintTitle. Throws IoError naming the
// file when it cannot be written.
void printToPdf(const QTextDocument& note, const std::vector<std::string>& heading,
                const std::string& path);

}  // namespace hinagiku::todo
