#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include "platform/memory_settings.h"
#include "richtext/text_document.h"
#include "richtext/ui/color_history.h"
#include "richtext/ui/format_bar.h"
#include "richtext/ui/indent_ruler.h"
#include "richtext/ui/ruler_geometry.h"
#include "richtext/ui/text_finder.h"

using namespace hinagiku;
using namespace hinagiku::richtext::ui;

class RichTextBarTest : public QObject {
    Q_OBJECT

  private slots:
    void rulerMarkersFromIndents_data();
    void rulerMarkersFromIndents();
    void rulerClickWithoutMoveChangesNothing();
    void rulerDragSetsTheParagraphIndents();
    void barRefreshWritesNothingBack();
    void barAppliesToSelectionOrDefaults();
    void barKeepsTheNameOfAFontNotInstalled();
    void colorHistoryShiftsAndCancelChangesNothing();
    void todoVariantHasNoAlignment();
    void findNextWalksTheLines();
    void replaceAllIsOnePass();
};

void RichTextBarTest::rulerMarkersFromIndents_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("firstX");
    QTest::addColumn<int>("leftX");
    QTest::addColumn<int>("rightX");
    // Ruler 400 px wide.
    QTest::newRow("zero") << 0 << 0 << 0 << 2 << 2 << 386;
    QTest::newRow("first 9") << 9 << 0 << 0 << 14 << 14 << 386;
    QTest::newRow("hanging") << 0 << 18 << 0 << 2 << 26 << 386;
    QTest::newRow("right 10") << 0 << 0 << 10 << 2 << 2 << 373;
    QTest::newRow("first 1") << 1 << 0 << 0 << 3 << 3 << 386;
    QTest::newRow("negative left") << 30 << -12 << 3 << 42 << 26 << 382;
}

void RichTextBarTest::rulerMarkersFromIndents() {
    QFETCH(int, first);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(int, firstX);
    QFETCH(int, leftX);
    QFETCH(int, rightX);
    const Indents indents{first, left, right};
    const MarkerPositions markers = markerPositions(indents, 400);
    QCOMPARE(markers, (MarkerPositions{firstX, leftX, rightX}));
    // Released where they stand, the markers give the same indents back.
    QCOMPARE(indentsFromMarkers(markers, 400), indents);
    // Margins of a block: first = left margin + text indent, left = −indent.
    QCOMPARE(indentsFromMargins(marginsFromIndents(indents)), indents);
}

void RichTextBarTest::rulerClickWithoutMoveChangesNothing() {
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("a"));
    QTextBlockFormat format;
    format.setLeftMargin(13.3);  // not a whole number of points
    format.setTextIndent(-6.7);
    editor.textCursor().mergeBlockFormat(format);
    editor.document()->setModified(false);
    IndentRuler ruler(&editor);
    ruler.resize(400, 18);
    ruler.refresh();
    const int x = ruler.markers().first + kGrabOffset;
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(x, 5));
    QCOMPARE(editor.document()->isModified(), false);
    QCOMPARE(editor.textCursor().blockFormat().leftMargin(), 13.3);
}

void RichTextBarTest::rulerDragSetsTheParagraphIndents() {
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("one\ntwo"));
    IndentRuler ruler(&editor);
    ruler.resize(400, 18);
    ruler.refresh();
    int applied = 0;
    connect(&ruler, &IndentRuler::indentsApplied, this, [&] { ++applied; });
    // First-line marker dragged 40 px right: 30 points of first indent, and
    // the left indent keeps the following lines where they were.
    const int from = ruler.markers().first + kGrabOffset;
    QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(from, 5));
    QTest::mouseMove(&ruler, QPoint(from + 40, 5));
    QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(from + 40, 5));
    QCOMPARE(applied, 1);
    QCOMPARE(ruler.indents(), (Indents{30, -30, 0}));
    const QTextBlockFormat block = editor.document()->firstBlock().blockFormat();
    QCOMPARE(block.leftMargin(), 0.0);
    QCOMPARE(block.textIndent(), 40.0);
    // The second paragraph is not in the selection.
    QCOMPARE(editor.document()->lastBlock().blockFormat().textIndent(), 0.0);
}

void RichTextBarTest::barRefreshWritesNothingBack() {
    platform::MemorySettings settings;
    QTextEdit editor;
    richtext::loadRichText(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Serif;}{\\f1 Monospace;}{\\f2 NoSuchFontAnywhere;}}"
        "\\f0\\fs20 a\\f1\\fs40\\b b\\f2\\fs12\\i c\\par}",
        *editor.document());
    editor.document()->setModified(false);
    FormatBar bar(&editor, settings, {});
    int applied = 0;
    connect(&bar, &FormatBar::formatApplied, this, [&] { ++applied; });
    const QByteArray before = QByteArray::fromStdString(richtext::saveRichText(*editor.document()));
    for (int i = 0; i < 4; ++i) {
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(i);
        editor.setTextCursor(cursor);
    }
    QCOMPARE(applied, 0);
    QCOMPARE(editor.document()->isModified(), false);
    QCOMPARE(QByteArray::fromStdString(richtext::saveRichText(*editor.document())), before);
}

void RichTextBarTest::barAppliesToSelectionOrDefaults() {
    platform::MemorySettings settings;
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("abcd"));
    FormatBar bar(&editor, settings, {});
    // A selection: only its characters.
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    bar.boldButton()->click();
    QTextCursor probe(editor.document());
    probe.setPosition(2);
    QCOMPARE(probe.charFormat().fontWeight(), int(QFont::Bold));
    probe.setPosition(4);
    QVERIFY(probe.charFormat().fontWeight() != QFont::Bold);
    QVERIFY(bar.boldButton()->isChecked());
    // Nothing selected: the editor's default attributes.
    cursor.clearSelection();
    cursor.setPosition(4);
    editor.setTextCursor(cursor);
    bar.applySize(20);
    QCOMPARE(editor.document()->defaultFont().pointSize(), 20);
    QCOMPARE(bar.sizeBox()->value(), 20);
    // Alignment applies to the paragraph.
    bar.alignButton(Qt::AlignRight)->click();
    QCOMPARE(editor.document()->firstBlock().blockFormat().alignment() & Qt::AlignRight,
             Qt::AlignRight);
    QVERIFY(bar.alignButton(Qt::AlignRight)->isChecked());
    bar.bulletButton()->click();
    QVERIFY(editor.textCursor().currentList() != nullptr);
    bar.bulletButton()->click();
    QVERIFY(editor.textCursor().currentList() == nullptr);
}

void RichTextBarTest::barKeepsTheNameOfAFontNotInstalled() {
    platform::MemorySettings settings;
    QTextEdit editor;
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
    editor.textCursor().insertText(QStringLiteral("x"), format);
    FormatBar bar(&editor, settings, {});
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(1);
    editor.setTextCursor(cursor);
    bar.refresh();
    QCOMPARE(bar.fontBox()->currentText(), QStringLiteral("ＭＳ Ｐゴシック"));
}

void RichTextBarTest::colorHistoryShiftsAndCancelChangesNothing() {
    platform::MemorySettings settings;
    ColorHistory history(settings);
    QCOMPARE(history.read(), (std::array<std::int32_t, 5>{255, 255, 255, 255, 255}));
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("ab"));
    FormatBar bar(&editor, settings, {});
    editor.selectAll();
    // Cancelled: nothing applied, nothing pushed.
    bar.setColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(); });
    bar.chooseColor();
    QCOMPARE(history.read()[0], 255);
    QTextCursor probe(editor.document());
    probe.setPosition(1);
    QVERIFY(!probe.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    // Chosen: applied and pushed, the oldest dropped.
    for (const QColor& color : {QColor(0, 0, 255), QColor(0, 255, 0)}) {
        bar.setColorChooser(
            [color](const QColor&, QWidget*) { return std::optional<QColor>(color); });
        bar.chooseColor();
    }
    QCOMPARE(history.read(), (std::array<std::int32_t, 5>{0x00FF00, 0xFF0000, 255, 255, 255}));
    QCOMPARE(settings.readInt("Nikki", "Color2", 0), 0xFF0000);
    probe.setPosition(1);
    QCOMPARE(probe.charFormat().foreground().color(), QColor(0, 255, 0));
    // A swatch applies its colour.
    bar.swatch(1)->click();
    probe.setPosition(1);
    QCOMPARE(probe.charFormat().foreground().color(), QColor(0, 0, 255));
}

void RichTextBarTest::todoVariantHasNoAlignment() {
    platform::MemorySettings settings;
    QTextEdit editor;
    FormatBar bar(&editor, settings, {.alignment = false});
    QVERIFY(bar.alignButton(Qt::AlignLeft) == nullptr);
    QVERIFY(bar.bulletButton() != nullptr);
}

void RichTextBarTest::findNextWalksTheLines() {
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("cat cat\ndog\nthe cat\nCAT"));
    TextFinder finder(&editor);
    QVERIFY(finder.findNext(QStringLiteral("cat")));
    QCOMPARE(editor.textCursor().selectionStart(), 0);
    // The next find starts on the following line.
    QVERIFY(finder.findNext(QStringLiteral("cat")));
    QCOMPARE(editor.textCursor().selectionStart(), 16);
    QVERIFY(!finder.findNext(QStringLiteral("cat")));  // case-sensitive
    finder.restart();
    QVERIFY(finder.findNext(QStringLiteral("cat")));
    QCOMPARE(editor.textCursor().selectionStart(), 0);
    QVERIFY(finder.findNext(QStringLiteral("CAT")));  // another text starts again
    QCOMPARE(editor.textCursor().selectionStart(), 20);
}

void RichTextBarTest::replaceAllIsOnePass() {
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("a-a-b"));
    TextFinder finder(&editor);
    QCOMPARE(finder.replaceAll(QStringLiteral("a"), QStringLiteral("aa")), 2);
    QCOMPARE(editor.toPlainText(), QStringLiteral("aa-aa-b"));
    QVERIFY(finder.replaceFirst(QStringLiteral("b"), QStringLiteral("c")));
    QCOMPARE(editor.toPlainText(), QStringLiteral("aa-aa-c"));
    QVERIFY(!finder.replaceFirst(QStringLiteral("z"), QStringLiteral("c")));
    // One undo step takes the whole replace-all back.
    QCOMPARE(finder.replaceAll(QStringLiteral("aa"), QString()), 2);
    QCOMPARE(editor.toPlainText(), QStringLiteral("--c"));
    editor.undo();
    QCOMPARE(editor.toPlainText(), QStringLiteral("aa-aa-c"));
}

QTEST_MAIN(RichTextBarTest)
#include "test_richtext_bar.moc"
