#include "todo/note_print.h"

#include <QFile>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/cp932.h"

namespace hinagiku::todo {

std::vector<std::string> printHeading(const Outline& outline, std::size_t pos) {
    const Node& node = outline.at(pos);
    const std::string title = platform::fromCp932(node.title);
    if (node.kind() != NodeKind::Item)
        return {"【" + title + "】", ""};
    std::string folder = title;
    for (auto above = outline.parent(pos); above; above = outline.parent(*above)) {
        folder = platform::fromCp932(outline.at(*above).title);
        if (outline.at(*above).kind() != NodeKind::Item)
            break;
    }
    return {"【" + folder + "】", "【タイトル：" + title + "】", ""};
}

std::string childTitles(const Outline& outline, std::size_t pos) {
    std::string text;
    for (const std::size_t child : outline.children(pos)) {
        if (!text.empty())
            text += '\n';
        text += platform::fromCp932(outline.at(child).title);
    }
    return text;
}

void printWithHeading(const QTextDocument& note, const std::vector<std::string>& heading,
                      QPagedPaintDevice& device) {
    const std::unique_ptr<QTextDocument> copy(note.clone());
    copy->setUndoRedoEnabled(false);
    QTextCursor cursor(copy.get());
    cursor.movePosition(QTextCursor::Start);
    QTextCharFormat plain;
    plain.setFont(copy->defaultFont());
    for (const auto& line : heading) {
        cursor.insertText(QString::fromStdString(line), plain);
        cursor.insertBlock();
    }
    copy->print(&device);
}

void printToPdf(const QTextDocument& note, const std::vector<std::string>& heading,
                const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw platform::IoError("cannot write " + path + ": " + file.errorString().toStdString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(QString::fromUtf8(kPrintTitle));
        writer.setCreator(QStringLiteral("Hinagiku"));
        printWithHeading(note, heading, writer);
    }
    if (file.error() != QFileDevice::NoError)
        throw platform::IoError("cannot write " + path + ": " + file.errorString().toStdString());
}

}  // namespace hinagiku::todo
