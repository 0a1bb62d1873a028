#include "richtext/rtf_keywords.h"

namespace hinagiku::richtext::rtf_keywords {

const std::unordered_map<std::string_view, Keyword>& keywords() {
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t;
        auto add = [&](std::string_view name, Kw kind, char32_t character = 0) {
            t.emplace(name, Keyword{kind, character});
        };
        add("b", Kw::Bold);
        add("i", Kw::Italic);
        // clang-format off
        for (std::string_view u : {
            "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
            "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
            "ulwave"}) {
            // clang-format on
            add(u, Kw::Underline);
        }
        add("ulnone", Kw::UnderlineNone);
        add("strike", Kw::StrikeOut);
        add("striked", Kw::StrikeOut);
        add("v", Kw::Hidden);
        add("cf", Kw::Color);
        add("fs", Kw::FontSize);
        add("f", Kw::Font);
        add("plain", Kw::Plain);
        add("loch", Kw::SingleByteText);
        add("hich", Kw::SingleByteText);
        add("dbch", Kw::DoubleByteText);
        add("af", Kw::AssociatedFont);
        add("afs", Kw::AssociatedFontSize);
        add("ab", Kw::AssociatedBold);
        add("ai", Kw::AssociatedItalic);
        add("pard", Kw::Pard);
        add("fi", Kw::FirstIndent);
        add("li", Kw::LeftIndent);
        add("ri", Kw::RightIndent);
        add("ql", Kw::AlignLeft);
        add("qc", Kw::AlignCenter);
        add("qr", Kw::AlignRight);
        add("qj", Kw::AlignJustify);
        add("qd", Kw::AlignJustify);
        add("ls", Kw::ListOverride);
        add("pnlvlblt", Kw::ListLevelBullet);
        add("pnlvlbody", Kw::ListLevelBody);
        add("pnlvl", Kw::ListLevelNumber);
        add("pnlvlcont", Kw::ListLevelContinue);
        add("pndec", Kw::NumDecimal);
        add("pnucltr", Kw::NumUpperAlpha);
        add("pnlcltr", Kw::NumLowerAlpha);
        add("pnucrm", Kw::NumUpperRoman);
        add("pnlcrm", Kw::NumLowerRoman);
        add("par", Kw::Par);
        add("page", Kw::Par);
        add("line", Kw::Line);
        add("tab", Kw::Tab);
        add("cell", Kw::Cell);
        add("nestcell", Kw::Cell);
        add("row", Kw::Row);
        add("nestrow", Kw::Row);
        add("u", Kw::Unicode);
        add("uc", Kw::UnicodeSkip);
        add("emdash", Kw::Char, U'\u2014');
        add("endash", Kw::Char, U'\u2013');
        add("emspace", Kw::Char, U'\u2003');
        add("enspace", Kw::Char, U'\u2002');
        add("qmspace", Kw::Char, U'\u2005');
        add("bullet", Kw::Char, U'\u2022');
        add("lquote", Kw::Char, U'\u2018');
        add("rquote", Kw::Char, U'\u2019');
        add("ldblquote", Kw::Char, U'\u201C');
        add("rdblquote", Kw::Char, U'\u201D');
        add("zwj", Kw::Char, U'\u200D');
        add("zwnj", Kw::Char, U'\u200C');
        add("zwbo", Kw::Char, U'\u200B');
        add("ltrmark", Kw::Char, U'\u200E');
        add("rtlmark", Kw::Char, U'\u200F');
        add("ansi", Kw::Ansi);
        add("ansicpg", Kw::AnsiCodePage);
        add("mac", Kw::Mac);
        add("pc", Kw::Pc);
        add("pca", Kw::Pca);
        add("deff", Kw::DefaultFont);
        add("fcharset", Kw::FontCharset);
        add("cpg", Kw::FontCodePage);
        add("red", Kw::Red);
        add("green", Kw::Green);
        add("blue", Kw::Blue);
        add("list", Kw::List);
        add("listid", Kw::ListId);
        add("levelnfc", Kw::LevelNumberFormat);
        add("levelnfcn", Kw::LevelNumberFormat);
        add("listoverride", Kw::ListOverrideEntry);
        add("fonttbl", Kw::DestFontTable);
        add("colortbl", Kw::DestColorTable);
        add("pn", Kw::DestNumbering);
        add("listtable", Kw::DestListTable);
        add("listoverridetable", Kw::DestListOverrideTable);
        add("upr", Kw::DestUpr);
        add("ud", Kw::DestUd);
        add("fldrslt", Kw::DestText);
        add("bin", Kw::Bin);
        // Destinations whose text is not part of the document. The bullet
        // text groups are skipped because \pn and \ls say the same.
        // clang-format off
        for (std::string_view d : {
            "stylesheet", "info", "pict", "object", "objdata", "header", "headerl", "headerr",
            "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation",
            "atnauthor", "atndate", "atnicn", "atnid", "atnref", "atntime", "fldinst", "pntext",
            "pntxtb", "pntxta", "listtext", "listname", "xe", "tc", "txe", "rxe", "bkmkstart",
            "bkmkend", "themedata", "colorschememapping", "latentstyles", "datastore", "generator",
            "rsidtbl", "shp", "shpinst", "shppict", "nonshppict", "shprslt", "mmathPr", "xmlnstbl",
            "pgdsctbl", "filetbl", "revtbl", "userprops", "docvar", "template", "comment", "title",
            "subject", "author", "operator", "keywords", "doccomm", "company", "manager",
            "category", "hlinkbase", "buptim", "creatim", "printim", "revtim", "falt", "panose",
            "fontemb", "fontfile", "blipuid", "wgrffmtfilter", "passwordhash", "ftnsep", "ftnsepc",
            "aftnsep", "aftnsepc", "ftncn", "aftncn", "background", "macpict", "wmetafile",
            "dibitmap", "wbitmap", "do", "private", "pnseclvl", "leveltext", "levelnumbers",
            "fldtype", "formfield", "datafield", "protusertbl", "ebcstart", "ebcend", "xmlopen",
            "xmlclose", "sp", "sn", "sv", "svb", "picprop", "nesttableprops", "nonesttables",
            "listpicture", "oldcprops", "oldpprops", "oldsprops", "oldtprops", "ioprops",
            "factoidname", "mmath", "moMath", "moMathPara"}) {
            // clang-format on
            add(d, Kw::DestSkip);
        }
        return t;
    }();
    return table;
}

ListStyle listStyleForNumberFormat(int nfc) {
    switch (nfc) {
        case 1:
            return ListStyle::UpperRoman;
        case 2:
            return ListStyle::LowerRoman;
        case 3:
            return ListStyle::UpperAlpha;
        case 4:
            return ListStyle::LowerAlpha;
        case 23:
        case 255:
            return ListStyle::Bullet;
        default:
            return ListStyle::Decimal;
    }
}

int codePageForCharset(int charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 2:
            return 1252;  // symbol fonts: their bytes are glyph numbers
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return 0;  // DEFAULT_CHARSET and unknown ones: the document's code page
    }
}

}  // namespace hinagiku::richtext::rtf_keywords
