#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace hinagiku::tools {

// The message boxes the tool windows show; tests replace them to answer for
// the user.
struct ToolDialogs {
    // A warning with OK; `at` (when not null) is the box's top-left corner.
    std::function<void(QWidget* parent, const QString& text, QPoint at)> warn;
    // A question with Yes and No; true for Yes.
    std::function<bool(QWidget* parent, const QString& text)> ask;
};

ToolDialogs& toolDialogs();

// Texts keep the CR line breaks the program writes; a message box wants LF.
QString boxText(const QString& text);

// "削除しますか？" unless [Form] Delete is set.
inline constexpr const char* kDeleteQuestion = "削除しますか？";

}  // namespace hinagiku::tools
