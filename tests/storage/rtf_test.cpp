#include "storage/rtf.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;

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

TEST(Rtf, TheBytesOfBinaryDataAreSkippedWhateverTheyHold) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string rtf;
        std::optional<QString> text; // nothing: refused
    } cases[] = {
        {"a brace as data", R"({\rtf1\ansi Before {\*\mydata \bin1 }} After})", "Before  After"},
        {"NUL bytes and braces", "{\\rtf1 A{\\*\\blob \\bin6 \0{\0}\\x}B}"s, "AB"},
        {"data in a group that is shown", R"({\rtf1 A\bin3 x}\B})", "AB"},
        {"no data", R"({\rtf1 A\bin0 B})", "AB"},
        {"no count", R"({\rtf1 A\bin B})", "AB"},
        {"a negative count", R"({\rtf1 A\bin-5 B})", "AB"},
        {"more data than the file holds", R"({\rtf1 A\bin99 B})", std::nullopt},
        {"a count beyond any file", R"({\rtf1 A\bin99999999999999999999 B})", std::nullopt},
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
        EXPECT_EQ(text, *c.text);
    }
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
    for (const QByteArray& document : {WriteRtf(sampleLog(), "Mono"), foreign, binary}) {
        const std::optional<std::vector<StyledRun>> whole = ReadRtf(document);
        ASSERT_TRUE(whole.has_value());
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
