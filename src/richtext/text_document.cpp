#include "richtext/text_document.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cmath>

#include "richtext/rtf_reader.h"

namespace hinagiku::richtext {
namespace {

constexpr double kTwipsPerPixel = 15.0;

QTextCharFormat toCharFormat(const CharFormat& f) {
    QTextCharFormat format;
    if (!f.family.empty())
        format.setFontFamilies({QString::fromStdString(f.family)});
    if (f.halfPoints > 0)
        format.setFontPointSize(f.halfPoints / 2.0);
    if (f.bold)
        format.setFontWeight(QFont::Bold);
    if (f.italic)
        format.setFontItalic(true);
    if (f.underline)
        format.setFontUnderline(true);
    if (f.strikeOut)
        format.setFontStrikeOut(true);
    if (f.color) {
        const std::uint32_t rgb = *f.color;
        format.setForeground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    return format;
}

CharFormat fromCharFormat(const QTextCharFormat& format) {
    CharFormat f;
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid() && !families.toStringList().isEmpty()) {
        f.family = families.toStringList().front().toStdString();
    } else if (format.hasProperty(QTextFormat::FontFamily)) {
        f.family = format.stringProperty(QTextFormat::FontFamily).toStdString();
    }
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        f.halfPoints = static_cast<int>(std::lround(format.fontPointSize() * 2));
    } else if (format.hasProperty(QTextFormat::FontPixelSize)) {
        // 96 dpi: a pixel is 3/4 point, 3/2 half point.
        f.halfPoints =
            static_cast<int>(std::lround(format.intProperty(QTextFormat::FontPixelSize) * 1.5));
    }
    f.halfPoints = std::max(0, f.halfPoints);
    f.bold = format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold;
    f.italic = format.fontItalic();
    const auto underline = format.underlineStyle();
    f.underline = format.fontUnderline() || (underline != QTextCharFormat::NoUnderline &&
                                             underline != QTextCharFormat::SpellCheckUnderline);
    f.strikeOut = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        f.color = format.foreground().color().rgb() & 0xFFFFFFu;
    }
    return f;
}

QTextBlockFormat toBlockFormat(const ParagraphFormat& p) {
    QTextBlockFormat format;
    switch (p.alignment) {
        case Alignment::Left:
            format.setAlignment(Qt::AlignLeft);
            break;
        case Alignment::Center:
            format.setAlignment(Qt::AlignHCenter);
            break;
        case Alignment::Right:
            format.setAlignment(Qt::AlignRight);
            break;
        case Alignment::Justify:
            format.setAlignment(Qt::AlignJustify);
            break;
    }
    format.setTextIndent(p.firstIndent / kTwipsPerPixel);
    format.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    format.setRightMargin(p.rightIndent / kTwipsPerPixel);
    return format;
}

int toTwips(qreal pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

ParagraphFormat fromBlockFormat(const QTextBlockFormat& format) {
    ParagraphFormat p;
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) {
        p.alignment = Alignment::Center;
    } else if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) {
        p.alignment = Alignment::Right;
    } else if ((horizontal & Qt::AlignJustify) == Qt::AlignJustify) {
        p.alignment = Alignment::Justify;
    }
    p.firstIndent = toTwips(format.textIndent());
    p.leftIndent = toTwips(format.leftMargin());
    p.rightIndent = toTwips(format.rightMargin());
    return p;
}

QTextListFormat::Style toListStyle(ListStyle style) {
    switch (style) {
        case ListStyle::Decimal:
            return QTextListFormat::ListDecimal;
        case ListStyle::LowerAlpha:
            return QTextListFormat::ListLowerAlpha;
        case ListStyle::UpperAlpha:
            return QTextListFormat::ListUpperAlpha;
        case ListStyle::LowerRoman:
            return QTextListFormat::ListLowerRoman;
        case ListStyle::UpperRoman:
            return QTextListFormat::ListUpperRoman;
        default:
            return QTextListFormat::ListDisc;
    }
}

ListStyle fromListStyle(QTextListFormat::Style style) {
    switch (style) {
        case QTextListFormat::ListDecimal:
            return ListStyle::Decimal;
        case QTextListFormat::ListLowerAlpha:
            return ListStyle::LowerAlpha;
        case QTextListFormat::ListUpperAlpha:
            return ListStyle::UpperAlpha;
        case QTextListFormat::ListLowerRoman:
            return ListStyle::LowerRoman;
        case QTextListFormat::ListUpperRoman:
            return ListStyle::UpperRoman;
        default:
            return ListStyle::Bullet;
    }
}

}  // namespace

void toTextDocument(const RichText& text, QTextDocument& document) {
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    ListStyle listStyle = ListStyle::None;
    bool first = true;
    for (const auto& paragraph : text.paragraphs) {
        const QTextBlockFormat blockFormat = toBlockFormat(paragraph.format);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, QTextCharFormat());
        }
        if (paragraph.format.list == ListStyle::None) {
            list = nullptr;
        } else if (list && listStyle == paragraph.format.list) {
            list->add(cursor.block());
        } else {
            QTextListFormat listFormat;
            listFormat.setStyle(toListStyle(paragraph.format.list));
            listFormat.setIndent(1);
            list = cursor.createList(listFormat);
            listStyle = paragraph.format.list;
        }
        for (const auto& run : paragraph.runs) {
            cursor.insertText(
                QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size())),
                toCharFormat(run.format));
        }
    }
    cursor.endEditBlock();
}

RichText fromTextDocument(const QTextDocument& document) {
    RichText text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        paragraph.format = fromBlockFormat(block.blockFormat());
        if (const QTextList* list = block.textList()) {
            paragraph.format.list = fromListStyle(list->format().style());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QString s = fragment.text();
            s.remove(QChar::ObjectReplacementCharacter);  // pictures are not kept
            if (s.isEmpty())
                continue;
            paragraph.runs.push_back(Run{fromCharFormat(fragment.charFormat()), s.toStdString()});
        }
        text.paragraphs.push_back(std::move(paragraph));
    }
    normalize(text);
    return text;
}

void loadRichText(std::string_view fileBytes, QTextDocument& document) {
    toTextDocument(readRichText(fileBytes), document);
}

DefaultFont defaultFontOf(const QTextDocument& document) {
    const QFont font = document.defaultFont();
    DefaultFont defaults;
    defaults.family = font.family().toStdString();
    if (font.pointSizeF() > 0) {
        defaults.halfPoints = static_cast<int>(std::lround(font.pointSizeF() * 2));
    } else if (font.pixelSize() > 0) {
        defaults.halfPoints = static_cast<int>(std::lround(font.pixelSize() * 1.5));
    }
    defaults.halfPoints = std::max(1, defaults.halfPoints);
    return defaults;
}

std::string saveRichText(const QTextDocument& document) {
    return writeRtf(fromTextDocument(document), defaultFontOf(document));
}

std::string documentPlainText(const QTextDocument& document) {
    return plainText(fromTextDocument(document));
}

}  // namespace hinagiku::richtext
