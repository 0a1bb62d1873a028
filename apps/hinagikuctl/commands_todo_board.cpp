// todo show | note | add | move | title | empty-trash | print: the ToDo board's
// outline and notes for scripts. Output is UTF-8, fields TAB-separated; a
// damaged outline pair is reported and never written over.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

#include "calendar/date_time.h"
#include "command_registry.h"
#include "core/data_folders.h"
#include "core/home_folder.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "richtext/entry_text.h"
#include "richtext/rich_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/text_document.h"
#include "todo/note_print.h"
#include "todo/todo_folder.h"
#include "todo/todo_store.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage =
    "todo show | todo note POS | todo add [--at YYYY-MM-DDTHH:MM:SS] [--note FILE] | "
    "todo move FROM TO | todo title POS TEXT | todo empty-trash | todo print POS OUT";

// Rich text and printing need a GUI application; scripts have no display.
// The application lives for the command only, so it is taken down before
// the program ends, not among the static objects.
std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "hinagikuctl";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The board's folder and store, or the exit status that ends the command.
struct Board {
    platform::ProfileFile settings{core::settingsFilePath()};
    std::filesystem::path folder;
    std::unique_ptr<todo::TodoStore> store;
    todo::Outline outline;
    bool fromFiles = false;
};

int openBoard(CommandContext& context, Board& board, bool create) {
    const std::string data = core::DataFolder(board.settings);
    if (data.empty() || data == ".") {
        context.err << "hinagikuctl: no data folder is set ([Calendar] Directory in "
                    << core::settingsFilePath().string() << ")\n";
        return kExitIoError;
    }
    if (!platform::folderExists(data)) {
        context.err << "hinagikuctl: the data folder " << data << " does not exist\n";
        return kExitIoError;
    }
    board.folder = create ? todo::ensureTodoFolder(data) : todo::findTodoFolder(data);
    board.store = std::make_unique<todo::TodoStore>(board.folder, board.settings);
    auto result = board.store->load();
    if (const auto* damage = std::get_if<todo::Damage>(&result)) {
        context.out << "damaged\t" << damage->file << '\t' << damage->line << '\t'
                    << todo::damageWord(damage->reason) << '\n';
        context.err << "hinagikuctl: " << todo::damageMessage(*damage) << '\n';
        return kExitRefused;
    }
    auto& read = std::get<todo::PairRead>(result);
    board.outline = std::move(read.outline);
    board.fromFiles = read.fromFiles;
    return kExitOk;
}

std::optional<std::size_t> position(const Board& board, std::string_view word) {
    if (word.empty() || word.size() > 18)
        return std::nullopt;
    std::size_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    if (value >= board.outline.size())
        return std::nullopt;
    return value;
}

std::string_view kindWord(todo::NodeKind kind) {
    switch (kind) {
        case todo::NodeKind::Folder:
            return "folder";
        case todo::NodeKind::Trash:
            return "trash";
        case todo::NodeKind::Item:
            return "item";
    }
    return "item";
}

std::string_view noteWord(todo::NoteState state) {
    switch (state) {
        case todo::NoteState::Rtf:
            return "rtf";
        case todo::NoteState::Plain:
            return "plain";
        case todo::NoteState::None:
            return "none";
        case todo::NoteState::Bad:
            return "bad";
    }
    return "bad";
}

int show(CommandContext& context) {
    if (context.args.size() != 1)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, false); status != kExitOk)
        return status;
    context.out << "source\t" << (board.fromFiles ? "files" : "default") << '\n';
    const todo::FolderListing listing(board.folder);
    for (std::size_t i = 0; i < board.outline.size(); ++i) {
        const todo::Node& node = board.outline.at(i);
        const bool item = node.kind() == todo::NodeKind::Item;
        context.out << i << '\t' << node.level << '\t' << kindWord(node.kind()) << '\t'
                    << platform::fromCp932(node.marker) << '\t'
                    << (item ? noteWord(board.store->noteState(node.marker, listing)) : "-") << '\t'
                    << platform::fromCp932(node.title) << '\n';
    }
    context.out << "next\t" << board.store->nextNumber(board.outline) << '\n';
    return kExitOk;
}

// The note of an item as the text area loads it, or nothing for a bad note.
std::optional<std::string> noteBytes(const Board& board, std::size_t pos) {
    const todo::Node& node = board.outline.at(pos);
    if (board.store->noteState(node.marker) == todo::NoteState::Bad)
        return std::nullopt;
    return board.store->readNote(node.marker).value_or(std::string());
}

int note(CommandContext& context) {
    if (context.args.size() != 2)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, false); status != kExitOk)
        return status;
    const auto pos = position(board, context.args[1]);
    if (!pos)
        return usageError(context, kUsage, "no node at position " + context.args[1]);
    if (board.outline.at(*pos).kind() != todo::NodeKind::Item) {
        context.out << todo::childTitles(board.outline, *pos) << '\n';
        return kExitOk;
    }
    const auto bytes = noteBytes(board, *pos);
    if (!bytes) {
        context.out << "refused\tnote\n";
        return kExitRefused;
    }
    context.out << richtext::entryPlainText(*bytes) << '\n';
    return kExitOk;
}

std::optional<DateTime> parseStamp(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    auto number = [&](std::size_t at, std::size_t length) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2),
               mi = number(14, 2), s = number(17, 2);
    if (!y || !mo || !d || !h || !mi || !s)
        return std::nullopt;
    const auto date = encodeDate(*y, *mo, *d);
    const auto time = encodeTime(*h, *mi, *s);
    if (!date || !time)
        return std::nullopt;
    return makeDateTime(*date, *time);
}

// The note file as the text area saves it: RTF, or UTF-8 text.
std::string noteAsSaved(const std::string& bytes) {
    const auto application = ensureGuiApplication();
    QTextDocument document;
    if (richtext::isRtf(bytes))
        richtext::loadRichText(bytes, document);
    else
        richtext::toTextDocument(richtext::richTextFromPlainText(bytes), document);
    return richtext::saveRichText(document);
}

int add(CommandContext& context) {
    std::optional<DateTime> at;
    std::optional<std::string> notePath;
    for (std::size_t i = 1; i < context.args.size(); ++i) {
        const std::string& word = context.args[i];
        if ((word == "--at" || word == "--note") && i + 1 < context.args.size()) {
            const std::string& value = context.args[++i];
            if (word == "--at") {
                at = parseStamp(value);
                if (!at)
                    return usageError(context, kUsage, "not a time: " + value);
            } else {
                notePath = value;
            }
        } else {
            return usageError(context, kUsage, "unknown option: " + word);
        }
    }
    std::optional<std::string> noteFile;
    if (notePath) {
        std::error_code error;
        std::string bytes;
        if (!std::filesystem::is_regular_file(*notePath, error) ||
            std::filesystem::file_size(*notePath, error) > todo::kMaxNoteBytes ||
            !platform::readWholeFile(*notePath, bytes)) {
            context.err << "hinagikuctl: cannot read " << *notePath << '\n';
            return kExitIoError;
        }
        noteFile = noteAsSaved(bytes);
    }
    Board board;
    if (const int status = openBoard(context, board, true); status != kExitOk)
        return status;
    const DateTime now = at ? *at : platform::SystemClock().now();
    const std::size_t pos = board.store->addItem(board.outline, now);
    const todo::Node& node = board.outline.at(pos);
    if (noteFile)
        board.store->writeNote(node.marker, *noteFile);
    context.out << "added\t" << pos << '\t' << platform::fromCp932(node.marker) << '\t'
                << platform::fromCp932(node.title) << '\n';
    return kExitOk;
}

int move(CommandContext& context) {
    if (context.args.size() != 3)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, true); status != kExitOk)
        return status;
    const auto from = position(board, context.args[1]);
    const auto to = position(board, context.args[2]);
    if (!from || !to)
        return usageError(context, kUsage, "no node at that position");
    std::size_t newPos = 0;
    todo::Outline changed = board.outline;
    switch (changed.move(*from, *to, &newPos)) {
        case todo::MoveResult::Moved:
            break;
        case todo::MoveResult::Folder:
            context.out << "unchanged\tfolder\n";
            return kExitOk;
        case todo::MoveResult::Self:
            context.out << "unchanged\tself\n";
            return kExitOk;
        case todo::MoveResult::Inside:
            context.out << "unchanged\tinside\n";
            return kExitOk;
    }
    board.store->save(changed);
    context.out << "moved\t" << newPos << '\n';
    return kExitOk;
}

int title(CommandContext& context) {
    if (context.args.size() != 3)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, true); status != kExitOk)
        return status;
    const auto pos = position(board, context.args[1]);
    if (!pos)
        return usageError(context, kUsage, "no node at position " + context.args[1]);
    if (board.outline.at(*pos).kind() == todo::NodeKind::Trash) {
        context.out << "refused\ttrash\n";
        return kExitRefused;
    }
    const auto encoded = todo::encodeTitle(context.args[2]);
    if (!encoded)
        return usageError(context, kUsage, "the title holds a character Shift-JIS lacks");
    board.outline.setTitle(*pos, *encoded);
    board.store->save(board.outline);
    context.out << "titled\t" << *pos << '\t' << platform::fromCp932(*encoded) << '\n';
    return kExitOk;
}

int emptyTrash(CommandContext& context) {
    if (context.args.size() != 1)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, true); status != kExitOk)
        return status;
    const auto result = board.store->emptyTrash(board.outline);
    for (const auto& removed : result.notes)
        context.out << (removed.deleted ? "deleted\t" : "kept\t") << removed.name << '\n';
    context.out << "emptied\t" << result.children << '\n';
    return kExitOk;
}

int print(CommandContext& context) {
    if (context.args.size() != 3)
        return usageError(context, kUsage);
    Board board;
    if (const int status = openBoard(context, board, false); status != kExitOk)
        return status;
    const auto pos = position(board, context.args[1]);
    if (!pos)
        return usageError(context, kUsage, "no node at position " + context.args[1]);
    const auto application = ensureGuiApplication();
    QTextDocument document;
    if (board.outline.at(*pos).kind() == todo::NodeKind::Item) {
        const auto bytes = noteBytes(board, *pos);
        if (!bytes) {
            context.out << "refused\tnote\n";
            return kExitRefused;
        }
        richtext::loadRichText(*bytes, document);
    } else {
        document.setPlainText(QString::fromStdString(todo::childTitles(board.outline, *pos)));
    }
    todo::printToPdf(document, todo::printHeading(board.outline, *pos), context.args[2]);
    context.out << "printed\t" << context.args[2] << '\n';
    return kExitOk;
}

int todoCommand(CommandContext& context) {
    if (context.args.empty())
        return usageError(context, kUsage);
    const std::string& sub = context.args[0];
    try {
        if (sub == "show")
            return show(context);
        if (sub == "note")
            return note(context);
        if (sub == "add")
            return add(context);
        if (sub == "move")
            return move(context);
        if (sub == "title")
            return title(context);
        if (sub == "empty-trash")
            return emptyTrash(context);
        if (sub == "print")
            return print(context);
    } catch (const platform::IoError& error) {
        context.err << "hinagikuctl: " << error.what() << '\n';
        return kExitIoError;
    }
    return usageError(context, kUsage, "unknown todo subcommand '" + sub + "'");
}

const CommandRegistration kTodo{"todo", kUsage, &todoCommand};

}  // namespace
}  // namespace hinagiku::ctl
