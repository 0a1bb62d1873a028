#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <filesystem>
#include <functional>

#include "platform/settings.h"
#include "tools/shortcut_folder.h"

class QCompleter;
class QLineEdit;
class QMenu;
class QStringListModel;

namespace hinagiku::tools {

class WebSearchMenu;

// The command box of the main window's button bar: completions from the
// shortcut folder in a popup that leaves the keyboard and the caret to the
// box, the grey colour when the first completion is the typed name, Enter to
// run, Shift+Enter for the memo menu and Ctrl+Enter for the launcher menu,
// and the web search menu when the text cannot be started.
class CommandBox : public QObject {
    Q_OBJECT
  public:
    struct Menus {
        QMenu* memo = nullptr;
        QMenu* launcher = nullptr;
    };
    CommandBox(QLineEdit* box, platform::Settings& settings, std::filesystem::path folder,
               Menus menus, QObject* parent = nullptr);

    // Where messages go (a shortcut that cannot be followed); default: a
    // warning box.
    void setWarningSink(std::function<void(const QString&)> sink);

    // Lists the folder again and offers the names that start with the text;
    // `popup`: open the list.
    void refill(bool popup = true);
    // Enter with text: the shortcut file of that name, else the text as a
    // command. True when something started.
    bool run(const QString& text);

    QLineEdit* box() const { return box_; }
    QCompleter* completer() const { return completer_; }
    QStringList completions() const;
    WebSearchMenu* webSearchMenu() const { return webMenu_; }
    bool grey() const;
    const ShortcutFolder& folder() const { return folder_; }

    // The box's hint for its text.
    static QString hintFor(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void clearBox();
    void setGrey(bool grey);
    void popupBelowBox(QMenu* menu);
    QPoint belowBox() const;

    QLineEdit* box_;
    platform::Settings& settings_;
    ShortcutFolder folder_;
    Menus menus_;
    QCompleter* completer_;
    QStringListModel* model_;
    WebSearchMenu* webMenu_;
    std::function<void(const QString&)> warn_;
    bool grey_ = false;
};

}  // namespace hinagiku::tools
