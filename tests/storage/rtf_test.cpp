#include "storage/rtf.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;
using namespace Qt::StringLiterals;

namespace {

StyledRun run(const QString& text, quint32 color, bool bold = false, bool italic = false,
              bool underline = false, int size = 10) {
    return StyledRun{text, {color, bold, italic, underline, size}};
}

// The log's own mix: labels and data in several styles, line ends, and every kind of
// character received data can hold.
std::vector<StyledRun> sampleLog() {
    QString data = QStringLiteral("{}\\ \t caf\u00e9 \u20ac \u4e2d ");
    data += QChar(1);
    data += QChar(0x7F);
    data += QStringLiteral("\n");
    // Long stretches of plain characters, one with a brace between them.
    const QString stretches = QString(300, u'x') + u'{' + QString(700, u'y') + u'\n';
    return {run("Data received: ", 0x800000, true), run(data, 0x0000FF),
            run("Data sent: ", 0x800000, true), run("41,42,\n", 0x008000, false, true, true, 14),
            run(stretches, 0x0000FF)};
}

} // namespace

TEST(Rtf, WhatIsWrittenReadsBackRunForRun) {
    const std::vector<StyledRun> runs = sampleLog();
    const std::optional<std::vector<StyledRun>> back = ReadRtf(WriteRtf(runs, "DejaVu Sans Mono"));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, runs);
}

TEST(Rtf, TheMarkupNeverBreaksWhateverTheTextHolds) {
    const QByteArray rtf = WriteRtf(sampleLog(), "Mono");
    EXPECT_TRUE(IsRtf(rtf));
    // Only ASCII in the file: everything else is an escape.
    for (const char c : rtf)
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80) << int(static_cast<unsigned char>(c));
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i; // an escaped brace is text
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        EXPECT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(Rtf, DocumentsOfOtherProgramsLoadWithTheirText) {
    // As a word processor writes it: header groups, an ignorable destination, a style
    // sheet, code-page and Unicode escapes (with either kind of fallback), and a colour table.
    const QByteArray wordProcessor =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\generator Some Editor 1.0;}{\\stylesheet{\\s0 Normal;}}"
        "{\\info{\\title Secret}{\\author Someone}}"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 Plain \\cf1\\b red bold\\b0\\cf0  caf\\'e9 "
        "\\u8364?\\u8364\\'80\\par\n{\\cf2 blue}\\line end}";
    const std::optional<std::vector<StyledRun>> runs = ReadRtf(wordProcessor);
    ASSERT_TRUE(runs.has_value());
    QString text;
    for (const StyledRun& r : *runs)
        text += r.text;
    EXPECT_EQ(text, QStringLiteral("Plain red bold caf\u00e9 \u20ac\u20ac\nblue\nend"));
    ASSERT_GE(runs->size(), 3u);
    EXPECT_EQ((*runs)[1].text, "red bold");
    EXPECT_EQ((*runs)[1].style.color, 0x0000FFu);
    EXPECT_TRUE((*runs)[1].style.bold);
    EXPECT_EQ((*runs)[0].style.pointSize, 10);
}

TEST(Rtf, EachSnippetReadsAsItsText) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string rtf;
        std::optional<QString> text; // nothing: refused
    } cases[] = {
        // Binary data
        {"a brace as data", R"({\rtf1\ansi Before {\*\mydata \bin1 }} After})", "Before  After"},
        {"NUL bytes and braces", "{\\rtf1 A{\\*\\blob \\bin6 \0{\0}\\x}B}"s, "AB"},
        {"data in a group that is shown", R"({\rtf1 A\bin3 x}\B})", "AB"},
        {"no data", R"({\rtf1 A\bin0 B})", "AB"},
        {"no count", R"({\rtf1 A\bin B})", "AB"},
        {"a negative count", R"({\rtf1 A\bin-5 B})", "AB"},
        {"more data than the file holds", R"({\rtf1 A\bin99 B})", std::nullopt},
        {"a count beyond any file", R"({\rtf1 A\bin99999999999999999999 B})", std::nullopt},
        // Fields: the result shows, the instruction does not
        {"a link",
         R"({\rtf1 and a {\field{\*\fldinst HYPERLINK "http://example.com"}{\fldrslt link text}}.})",
         "and a link text."},
        {"a link in nested groups",
         R"({\rtf1 a {\field{\*\fldinst {HYPERLINK "x"}}{\fldrslt {\ul {\b link}}}} b})",
         "a link b"},
        {"an instruction not marked ignorable", R"({\rtf1 {\field{\fldinst PAGE}{\fldrslt 3}}})",
         "3"},
        {"a field inside an instruction",
         R"({\rtf1 {\field{\*\fldinst IF {\field{\*\fldinst PAGE}{\fldrslt 1}} = 1 "a" "b"}{\fldrslt c}}})",
         "c"},
        {"a field without result", R"({\rtf1 x{\field{\*\fldinst PAGE}}y})", "xy"},
        {"a result marked ignorable, as one word processor writes every link",
         R"({\rtf1 a {\field{\*\fldinst HYPERLINK "x"}{\*\fldrslt link text}} b})",
         "a link text b"},
        {"an unknown destination stays hidden", R"({\rtf1 a{\*\unknown secret {\b more}}b})", "ab"},
        // Characters written as control words and symbols
        {"dashes and bullets", R"({\rtf1 emdash\emdash and bullet\bullet})",
         u"emdash\u2014and bullet\u2022"_s},
        {"quotes", R"({\rtf1 \lquote a\rquote  \ldblquote b\rdblquote  c\endash d})",
         u"\u2018a\u2019 \u201Cb\u201D c\u2013d"_s},
        {"spaces", R"({\rtf1 a\emspace b\enspace c\qmspace d\~e})",
         u"a\u2003b\u2002c\u2005d\u00A0e"_s},
        {"hyphens: a soft one shows nothing", R"({\rtf1 a\_b\-c})", u"a\u2011bc"_s},
        {"breaks", R"({\rtf1 a\tab b\line c\par d})", "a\tb\nc\nd"},
        {"a table's cells and rows", R"({\rtf1 \trowd a\cell b\cell\row c})", "a\tb\t\nc"},
        // Code pages: the font's character set, else the document's code page, else 1252
        {"a Russian font", R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset204 Arial;}}
\f0 \'e4\'e0 \'cf\'f0\'e8\'e2\'e5\'f2})",
         u"\u0434\u0430 \u041F\u0440\u0438\u0432\u0435\u0442"_s},
        {"the document's code page", R"({\rtf1\ansicpg1251{\fonttbl{\f0\fcharset1 A;}}\f0 \'cf})",
         u"\u041F"_s},
        {"an ANSI font is Windows-1252 in a document of another code page",
         R"({\rtf1\ansicpg1251{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 R;}}\f0 caf\'e9 \f1 \'e4})",
         u"caf\u00e9 \u0434"_s},
        {"no code page at all", R"({\rtf1 caf\'e9 \'80\'81})", u"caf\u00e9 \u20ac\u0081"_s},
        {"each font its own, in its group",
         R"({\rtf1\ansicpg1252{\fonttbl{\f0 A;}{\f1\fcharset161 G;}}\f0 \'e1 \f1 \'e1 {\f0 \'e1}\'e1})",
         u"\u00e1 \u03b1 \u00e1\u03b1"_s},
        {"\\plain goes back to the default font",
         R"({\rtf1\deff1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}}\f0 \'e4\plain \'e4})",
         u"\u00e4\u0434"_s},
        {"a font's own code page", R"({\rtf1{\fonttbl{\f0\fcharset0\cpg1253 G;}}\f0 \'e1})",
         u"\u03b1"_s},
        {"a document of the Macintosh", R"({\rtf1\mac \'8a})", u"\u00e4"_s},
        {"8-bit text left unescaped", "{\\rtf1\\ansicpg1251 \xcf\xf0}", u"\u041F\u0440"_s},
        {"a font name is no text", R"({\rtf1{\fonttbl{\f0\fcharset204 \'d2\'e8;}}x})", "x"},
        {"a code page the system lacks: the document's",
         R"({\rtf1\ansicpg1251{\fonttbl{\f0\cpg99999 X;}}\f0 \'e4})", u"\u0434"_s},
        {"a document code page the system lacks: 1252", R"({\rtf1\ansicpg99999 \'e4})",
         u"\u00e4"_s},
        {"Japanese: two bytes a character",
         R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset128 G;}}\f0 \'82\'a0\'82
\'a2})",
         u"\u3042\u3044"_s},
        {"Japanese: the second byte unescaped",
         R"({\rtf1{\fonttbl{\f0\fcharset128 G;}}\f0 \'83A\'81[})", u"\u30A2\u30FC"_s},
        {"Chinese, simplified", R"({\rtf1{\fonttbl{\f0\fcharset134 S;}}\f0 \'d6\'d0\'ce\'c4})",
         u"\u4e2d\u6587"_s},
        {"Chinese, traditional", R"({\rtf1{\fonttbl{\f0\fcharset136 T;}}\f0 \'a4\'a4\'a4\'e5})",
         u"\u4e2d\u6587"_s},
        {"Korean", R"({\rtf1{\fonttbl{\f0\fcharset129 K;}}\f0 \'c7\'d1})", u"\ud55c"_s},
        {"a first byte cut off by markup pairs with nothing",
         R"({\rtf1{\fonttbl{\f0\fcharset128 G;}}\f0 \'82\par \'82\'a0})", u"\n\u3042"_s},
        {"Unicode escapes beyond 16 bits and NULs are no characters, nor their stand-ins",
         "{\\rtf1 a\\u65536?b\\u99999999?c\\u-32769?d\\u0?e\\'00f\0g}"s, "abcdefg"},
        {"Unicode escapes and their two-byte stand-ins",
         R"({\rtf1\ansicpg932{\fonttbl{\f0\fcharset128 G;}}\f0\uc2 \u12354\'82\'a0\'82\'a2})",
         u"\u3042\u3044"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::vector<StyledRun>> runs =
            ReadRtf(QByteArray(c.rtf.data(), static_cast<qsizetype>(c.rtf.size())));
        ASSERT_EQ(runs.has_value(), c.text.has_value());
        if (!runs)
            continue;
        QString text;
        for (const StyledRun& r : *runs)
            text += r.text;
        EXPECT_EQ(text.toStdString(), c.text->toStdString());
    }
}

TEST(Rtf, ADocumentOfAConverterReadsWithItsLinkQuotesBulletsAndWords) {
    // LibreOffice made it of converted_by_libreoffice.html beside it:
    //   soffice --headless --infilter="HTML (StarWriter)" --convert-to rtf
    // The link is a field; every character beyond ASCII an escape with its code-page
    // stand-in; the bullets come from the list's fall-back text.
    QFile file(QStringLiteral(KST_STORAGE_TEST_DATA "/converted_by_libreoffice.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::optional<std::vector<StyledRun>> runs = ReadRtf(file.readAll());
    ASSERT_TRUE(runs.has_value());
    QString text;
    for (const StyledRun& r : *runs)
        text += r.text;
    EXPECT_EQ(text.toStdString(),
              "Wiring notes \u2014 see the manual and a link.\n"
              "The \u201Cquoted\u201D and \u2018single\u2019 words \u2013 with an en dash.\n"
              "\u2022\tBullet one\n\u2022\tBullet two\n"
              "\u041F\u0440\u0438\u0432\u0435\u0442, COM1 caf\u00e9.\n");
    const auto link = std::find_if(runs->begin(), runs->end(),
                                   [](const StyledRun& r) { return r.text == "link"; });
    ASSERT_NE(link, runs->end()) << "the link in a run of its own style";
    EXPECT_TRUE(link->style.underline);
    EXPECT_EQ(link->style.color, 0x800000u);
}

TEST(Rtf, AnythingButACompleteDocumentIsRefused) {
    const QByteArray whole = WriteRtf(sampleLog(), "Mono");
    EXPECT_FALSE(ReadRtf(whole.left(whole.size() / 2)).has_value()) << "cut short";
    EXPECT_FALSE(ReadRtf("Data received: 41,").has_value());
    EXPECT_FALSE(ReadRtf("").has_value());
    EXPECT_TRUE(IsRtf("  \r\n{\\rtf1}"));
}

TEST(Rtf, AnotherProgramReadsTheColoursAndTheText) {
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    QFile file(dir.filePath("log.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteRtf(sampleLog(), "Mono"));
    file.close();
    QProcess process;
    process.start(unrtf, {"--html", file.fileName()});
    ASSERT_TRUE(process.waitForFinished(10000));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(html.contains("Data received:"));
    EXPECT_TRUE(html.contains("41,42,"));
    EXPECT_TRUE(html.contains("#000080", Qt::CaseInsensitive)) << "the navy labels";
    EXPECT_TRUE(html.contains("#ff0000", Qt::CaseInsensitive)) << "the red data";
    EXPECT_TRUE(html.contains("&euro;") || html.contains(QStringLiteral("\u20ac")));
}

TEST(Rtf, ADocumentReadInPiecesOfAnySizeReadsAsWhole) {
    // A word processor's document and one of this program, cut everywhere: inside
    // control words, their parameters, escapes and the characters a \u stands for.
    const QByteArray foreign = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0"
                               "\\blue0;}\\uc2\\pard\\fs20 Plain \\cf1\\b red\\b0  caf\\'e9 "
                               "\\u8364\\'80\\'81\\par\n{\\*\\generator x;}end}";
    // Binary data longer than any piece, braces and markup among its bytes.
    const QByteArray binary = "{\\rtf1 before{\\*\\blob \\bin1500 " + QByteArray(500, '}') +
                              QByteArray(500, '\\') + QByteArray(500, '{') + "} after}";
    // Characters of two bytes, escaped or not, in a run of text longer than is decoded at
    // once, a field and a second code page.
    const QByteArray codePages =
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 G;}{\\f1\\fcharset204 R;}}\\f0 " +
        QByteArray(40000, 'x').replace("x", "\x82\xa0") +
        "\\'82\\'a0{\\f1 \\'cf\\'f0}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt \\'82\\'a2}}}";
    QFile converted(QStringLiteral(KST_STORAGE_TEST_DATA "/converted_by_libreoffice.rtf"));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    for (const QByteArray& document :
         {WriteRtf(sampleLog(), "Mono"), foreign, binary, codePages, converted.readAll()}) {
        const std::optional<std::vector<StyledRun>> whole = ReadRtf(document);
        ASSERT_TRUE(whole.has_value());
        if (document == codePages) {
            QString text;
            for (const StyledRun& r : *whole)
                text += r.text;
            EXPECT_EQ(text, QString(40001, QChar(0x3042)) + u"\u041F\u0440\u3044"_s);
        }
        for (const qsizetype piece : {1, 2, 3, 7, 64, 300}) {
            RtfReader reader;
            std::vector<StyledRun> runs;
            for (qsizetype at = 0; at < document.size(); at += piece) {
                reader.read(document.mid(at, piece), at + piece >= document.size());
                for (StyledRun& run : reader.takeRuns()) {
                    if (!runs.empty() && runs.back().style == run.style)
                        runs.back().text += run.text;
                    else
                        runs.push_back(std::move(run));
                }
            }
            EXPECT_TRUE(reader.complete()) << piece;
            EXPECT_EQ(runs, *whole) << piece;
        }
    }
    RtfReader text;
    text.read("Data received: 41,", true);
    EXPECT_TRUE(text.failed());
    EXPECT_FALSE(text.complete());
}
