#include "richtext/text_document.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include "richtext/rtf_reader.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

QTextCharFormat charFormat(const QString& family, double points) {
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    return f;
}

// A page as a user makes it with the formatting bar: every character and
// paragraph format the editors offer.
void buildPage(QTextDocument& document) {
    document.setDefaultFont(QFont("ＭＳ Ｐゴシック", 9));
    QTextCursor cursor(&document);
    QTextBlockFormat centered;
    centered.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centered);
    cursor.insertText("既定の文字 ");
    QTextCharFormat bold = charFormat("ＭＳ ゴシック", 12);
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("太字", bold);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setTextIndent(8);
    right.setLeftMargin(16);
    right.setRightMargin(24);
    QTextCharFormat italicRed = charFormat("Arial", 10.5);
    italicRed.setFontItalic(true);
    italicRed.setForeground(QColor(255, 0, 0));
    cursor.insertBlock(right);
    cursor.insertText("italic 赤", italicRed);

    QTextBlockFormat bulleted;
    bulleted.setTextIndent(-24);
    bulleted.setLeftMargin(24);
    cursor.insertBlock(bulleted);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    cursor.createList(bullets);
    QTextCharFormat underStrike = charFormat("ＭＳ Ｐ明朝", 18);
    underStrike.setFontUnderline(true);
    underStrike.setFontStrikeOut(true);
    underStrike.setForeground(QColor(0, 128, 79));
    cursor.insertText("下線と取り消し線", underStrike);
    cursor.insertBlock();
    cursor.insertText("二つ目の項目", QTextCharFormat());

    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText("改行\u2028の後", QTextCharFormat());
}

struct Seen {
    QString text;
    QString family;
    double points;
    bool bold, italic, underline, strikeOut;
    QColor color;
};

std::vector<Seen> fragments(const QTextDocument& document) {
    std::vector<Seen> seen;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QFont font = f.font();  // what the editor shows, defaults resolved
            QFont resolved = font.resolve(document.defaultFont());
            seen.push_back(
                {it.fragment().text(), resolved.families().value(0), resolved.pointSizeF(),
                 f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline(),
                 f.fontStrikeOut(),
                 f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor()});
        }
    }
    return seen;
}

TEST(TextDocument, ReadingWhatWeWriteGivesBackEveryFormat) {
    QTextDocument page;
    buildPage(page);
    const std::string rtf = saveRichText(page);

    QTextDocument loaded;
    loaded.setDefaultFont(QFont("Sans", 20));  // another editor default must not matter
    loadRichText(rtf, loaded);

    ASSERT_EQ(loaded.blockCount(), page.blockCount());
    EXPECT_EQ(loaded.toPlainText(), page.toPlainText());
    const auto before = fragments(page);
    const auto after = fragments(loaded);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].text.toStdString());
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_EQ(after[i].family, before[i].family);
        EXPECT_DOUBLE_EQ(after[i].points, before[i].points);
        EXPECT_EQ(after[i].bold, before[i].bold);
        EXPECT_EQ(after[i].italic, before[i].italic);
        EXPECT_EQ(after[i].underline, before[i].underline);
        EXPECT_EQ(after[i].strikeOut, before[i].strikeOut);
        EXPECT_EQ(after[i].color, before[i].color);
    }
    for (QTextBlock a = page.begin(), b = loaded.begin(); a.isValid(); a = a.next(), b = b.next()) {
        SCOPED_TRACE(a.text().toStdString());
        const QTextBlockFormat fa = a.blockFormat();
        const QTextBlockFormat fb = b.blockFormat();
        EXPECT_EQ(fb.alignment() & Qt::AlignHorizontal_Mask,
                  (fa.alignment() & Qt::AlignHorizontal_Mask)
                      ? fa.alignment() & Qt::AlignHorizontal_Mask
                      : Qt::AlignLeft);
        EXPECT_DOUBLE_EQ(fb.textIndent(), fa.textIndent());
        EXPECT_DOUBLE_EQ(fb.leftMargin(), fa.leftMargin());
        EXPECT_DOUBLE_EQ(fb.rightMargin(), fa.rightMargin());
        ASSERT_EQ(b.textList() != nullptr, a.textList() != nullptr);
        if (a.textList()) {
            EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
        }
    }
    // The two bullet items are one list, as the editor made them.
    EXPECT_EQ(loaded.begin().next().next().textList(),
              loaded.begin().next().next().next().textList());
}

TEST(TextDocument, SavingTwiceGivesTheSameBytes) {
    QTextDocument page;
    buildPage(page);
    const std::string first = saveRichText(page);
    QTextDocument loaded;
    loaded.setDefaultFont(page.defaultFont());
    loadRichText(first, loaded);
    EXPECT_EQ(saveRichText(loaded), first);
}

TEST(TextDocument, IndentsAreTwipsOverFifteenPixels) {
    QTextDocument document;
    loadRichText("{\\rtf1\\pard\\fi-360\\li720\\ri150 x\\par}", document);
    const QTextBlockFormat f = document.begin().blockFormat();
    EXPECT_DOUBLE_EQ(f.textIndent(), -24);
    EXPECT_DOUBLE_EQ(f.leftMargin(), 48);
    EXPECT_DOUBLE_EQ(f.rightMargin(), 10);
}

TEST(TextDocument, PlainTextLoadsWithTheEditorsFont) {
    QTextDocument document;
    document.setDefaultFont(QFont("ＭＳ ゴシック", 11));
    loadRichText("\x88\xea\x8d\x73\r\n\x93\xf1\x8d\x73", document);  // 一行 / 二行 in CP932
    ASSERT_EQ(document.blockCount(), 2);
    EXPECT_EQ(document.begin().text(), QString("一行"));
    const QTextCharFormat f = document.begin().begin().fragment().charFormat();
    EXPECT_FALSE(f.hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(f.hasProperty(QTextFormat::FontPointSize));
    EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush));
    // Saved, the editor's font is written out.
    const RichText saved = readRtf(saveRichText(document));
    EXPECT_EQ(saved.paragraphs[0].runs[0].format.family, "ＭＳ ゴシック");
    EXPECT_EQ(saved.paragraphs[0].runs[0].format.halfPoints, 22);
}

TEST(TextDocument, PlainTextMatchesTheEntryPlainTextOfTheSavedFile) {
    QTextDocument page;
    buildPage(page);
    EXPECT_EQ(documentPlainText(page),
              "既定の文字 太字\nitalic 赤\n下線と取り消し線\n二つ目の項目\n改行\nの後");
}

TEST(TextDocument, EmptyDocumentRoundTrips) {
    QTextDocument empty;
    const std::string rtf = saveRichText(empty);
    QTextDocument loaded;
    loadRichText(rtf, loaded);
    EXPECT_EQ(loaded.blockCount(), 1);
    EXPECT_TRUE(loaded.toPlainText().isEmpty());
}

}  // namespace
}  // namespace hinagiku::richtext
