#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace hinagiku::schedule {

// The Yes/No error question of JPEG coding; answering Yes (true) stops.
// Windows ask through one of these so tests can answer for the user.
using ErrorQuestion = std::function<bool(const QString& text)>;

// An error box with Yes and No buttons over `parent`.
ErrorQuestion errorBoxQuestion(QWidget* parent);

// Message texts keep the CR and CR LF line breaks the program writes them
// with; a message box wants LF.
QString messageBoxText(const QString& text);

}  // namespace hinagiku::schedule
