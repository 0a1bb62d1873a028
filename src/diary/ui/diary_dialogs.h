#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

#include "platform/settings.h"
#include "schedule/ui/error_question.h"

class QPrinter;
class QWidget;

namespace hinagiku::diary::ui {

// The dialogs the diary windows put to the user. Each window starts with
// the real ones; tests put their own answers in.
struct DiaryDialogs {
    // The export's save dialog, preset to `preset`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& preset)> saveFileName;
    // "削除しますか？" at the window's top-left corner.
    std::function<bool(QWidget* parent)> confirmDelete;
    // A warning box (refused pages, unusable header values, failed saves).
    std::function<void(QWidget* parent, const QString& text)> warn;
    // The print dialog; false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> print;
    // The picture chooser starting at `current`; the chosen file or empty.
    std::function<QString(QWidget* parent, const QString& current)> choosePicture;
    // The colour dialog preset to `initial`; nothing when cancelled.
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> chooseColor;
    // The JPEG decoder's error question (empty: the standard error box).
    schedule::ErrorQuestion jpegError;
};

// The real dialogs; `settings` decides the picture chooser's cues.
DiaryDialogs standardDiaryDialogs(const platform::Settings& settings);

}  // namespace hinagiku::diary::ui
