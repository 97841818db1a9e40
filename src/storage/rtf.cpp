#include "rtf.h"

#include "notation/line_codec.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace kst {

// ---------------------------------------------------------------------------------------
// Writing

namespace {

QByteArray colorEntry(quint32 bgr) {
    return "\\red" + QByteArray::number(bgr & 0xFF) + "\\green" +
           QByteArray::number((bgr >> 8) & 0xFF) + "\\blue" +
           QByteArray::number((bgr >> 16) & 0xFF) + ';';
}

void appendEscaped(QByteArray& out, const QString& text) {
    const auto plain = [](char16_t u) {
        return u >= 0x20 && u < 0x7F && u != u'\\' && u != u'{' && u != u'}';
    };
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < text.size();) {
        // Printable ASCII, most of a log, goes over as it is, a stretch at a time.
        char stretch[256];
        qsizetype length = 0;
        while (i < text.size() && length < qsizetype(sizeof stretch) && plain(chars[i].unicode()))
            stretch[length++] = static_cast<char>(chars[i++].unicode());
        if (length > 0) {
            out.append(stretch, length);
            continue;
        }
        const char16_t u = chars[i++].unicode();
        if (u == u'\n') {
            out += "\\par\n";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else {
            // Signed 16 bits, as the format counts; "?" stands for it in old readers.
            out += "\\u";
            out += QByteArray::number(static_cast<qint16>(u));
            out += '?';
        }
    }
}

} // namespace

RtfWriter::RtfWriter(QList<quint32> colors, const QString& fontName)
    : colors_(std::move(colors)), fontName_(fontName) {}

QByteArray RtfWriter::begin() const {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendEscaped(out, fontName_.isEmpty() ? QStringLiteral("Courier New") : fontName_);
    out += ";}}\n{\\colortbl;";
    for (quint32 color : colors_)
        out += colorEntry(color);
    out += "}\n\\viewkind4\\pard\\f0\n";
    return out;
}

void RtfWriter::append(QByteArray& out, const StyledRun& run) const {
    out += "\\plain\\f0\\fs";
    out += QByteArray::number(run.style.pointSize * 2);
    out += "\\cf";
    out += QByteArray::number(colors_.indexOf(run.style.color) + 1);
    if (run.style.bold)
        out += "\\b";
    if (run.style.italic)
        out += "\\i";
    if (run.style.underline)
        out += "\\ul";
    out += ' ';
    appendEscaped(out, run.text);
}

QByteArray RtfWriter::end() {
    return "}\n";
}

QByteArray WriteRtf(const std::vector<StyledRun>& runs, const QString& fontName) {
    QList<quint32> colors;
    for (const StyledRun& run : runs) {
        if (!colors.contains(run.style.color))
            colors << run.style.color;
    }
    const RtfWriter writer(colors, fontName);
    QByteArray out = writer.begin();
    for (const StyledRun& run : runs)
        writer.append(out, run);
    return out + RtfWriter::end();
}

bool IsRtf(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

// ---------------------------------------------------------------------------------------
// Reading

namespace {

// The groups whose content is no text of the document.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> names = {"fonttbl",
                                           "stylesheet",
                                           "info",
                                           "pict",
                                           "header",
                                           "footer",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "object",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "generator",
                                           "themedata",
                                           "colorschememapping",
                                           "latentstyles",
                                           "datastore",
                                           "xmlnstbl",
                                           "filetbl",
                                           "revtbl",
                                           "footnote",
                                           "fldinst",
                                           "bkmkstart",
                                           "bkmkend"};
    return names;
}

// Control words that stand for one character.
const QHash<QByteArray, QChar>& characterWords() {
    static const QHash<QByteArray, QChar> words = {
        {"emdash", QChar(0x2014)},    {"endash", QChar(0x2013)},  {"bullet", QChar(0x2022)},
        {"lquote", QChar(0x2018)},    {"rquote", QChar(0x2019)},  {"ldblquote", QChar(0x201C)},
        {"rdblquote", QChar(0x201D)}, {"emspace", QChar(0x2003)}, {"enspace", QChar(0x2002)},
        {"qmspace", QChar(0x2005)},   {"zwj", QChar(0x200D)},     {"zwnj", QChar(0x200C)},
        {"ltrmark", QChar(0x200E)},   {"rtlmark", QChar(0x200F)}, {"zwbo", QChar(0x200B)},
        {"zwnbo", QChar(0x2060)},     {"par", QChar(u'\n')},      {"line", QChar(u'\n')},
        {"row", QChar(u'\n')},        {"sect", QChar(u'\n')},     {"page", QChar(u'\n')},
        {"tab", QChar(u'\t')},        {"cell", QChar(u'\t')}};
    return words;
}

// The Windows code page of a font's character set (\fcharset); 0 for the document's own
// (1 default, and any set not named here). ANSI (0) is Windows-1252 whatever the
// document's code page: a writer on a Cyrillic system marks its Latin fonts so. The bytes
// of a symbol font (2) are the font's own pictures: they are taken as they are.
int codePageOfCharset(int charset) {
    static constexpr std::pair<int, int> pages[] = {
        {0, 1252},   {2, 1252},   {77, 10000}, {78, 10001}, {79, 10003}, {80, 10008},
        {81, 10002}, {83, 10005}, {84, 10004}, {85, 10006}, {86, 10081}, {87, 10021},
        {88, 10029}, {89, 10007}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850}};
    for (const auto& [set, page] : pages) {
        if (set == charset)
            return page;
    }
    return 0;
}

// What a font of the font table says of its bytes.
struct FontCodePage {
    int charset = 0; // from \fcharset
    int page = 0;    // from \cpg, which wins
    int codePage() const { return page > 0 ? page : charset; }
};

struct GroupState {
    RunStyle style;
    int font = -1; // the document's default font
    int skipAfterUnicode = 1;
    bool skipped = false;
    bool colorTable = false;
    bool fontTable = false;
};

} // namespace

// Bytes of the document are read as they come; a token is taken only when all of it
// is there (or the last piece came), so a piece may end anywhere.
class RtfReader::Parser {
public:
    void read(QByteArrayView bytes, bool last) {
        if (failed_ || ended_)
            return;
        in_ = in_.sliced(pos_) + bytes.toByteArray();
        pos_ = 0;
        skipBinary();
        if (!checked_) {
            if (!last && in_.size() < Lookahead)
                return;
            checked_ = true;
            if (!IsRtf(in_)) {
                failed_ = true;
                return;
            }
        }
        const qsizetype safe = last ? in_.size() : in_.size() - Lookahead;
        while (pos_ < safe && !failed_ && !ended_)
            token();
        // A file cut short (a group never closed) is damaged: nothing of it is taken.
        if (last && (!started_ || !stack_.empty()))
            failed_ = true;
    }

    std::vector<StyledRun> takeRuns() { return std::exchange(runs_, {}); }
    bool complete() const { return ended_ && !failed_; }
    bool failed() const { return failed_; }

private:
    // The longest token read at once: a control word with its parameter and the
    // characters a Unicode escape stands for.
    static constexpr qsizetype Lookahead = 256;
    // Text of a code page longer than this is decoded before it ends.
    static constexpr qsizetype LongBytes = qsizetype(64) << 10;

    void token() {
        const char c = in_[pos_++];
        if (c == '\\' && pos_ < in_.size() && in_[pos_] == '\'') {
            ++pos_;
            byteEscape();
            return;
        }
        if (c == '\r' || c == '\n' || c == '\0')
            return; // line breaks of the file are no text, nor is a NUL byte
        // "\*" marks only the control word right after it.
        const bool optional = std::exchange(optionalNext_, false);
        if (c == '{' || c == '}' || c == '\\')
            flushBytes(true); // markup may change the style or the code page
        if (c == '{') {
            stack_.push_back(state_);
            state_.colorTable = false;
            started_ = true;
        } else if (c == '}') {
            if (stack_.empty()) {
                failed_ = true; // a closing brace with nothing open
                return;
            }
            state_ = stack_.back();
            stack_.pop_back();
            if (stack_.empty())
                ended_ = true; // the end of the document
        } else if (c == '\\') {
            controlWord(state_, optional);
        } else if (state_.colorTable) {
            if (c == ';')
                endColor();
        } else if (!state_.skipped) {
            plainText();
        }
    }

    // Text without markup, taken in one go up to the next markup or line break of the file.
    void plainText() {
        const qsizetype from = pos_ - 1;
        qsizetype to = pos_;
        bool ascii = static_cast<uchar>(in_[from]) < 0x80;
        while (to < in_.size()) {
            const char c = in_[to];
            if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0')
                break;
            ascii = ascii && static_cast<uchar>(c) < 0x80;
            ++to;
        }
        pos_ = to;
        const QByteArrayView bytes(in_.constData() + from, to - from);
        if (ascii && bytes_.isEmpty()) {
            text(state_, QLatin1StringView(bytes));
            return;
        }
        // Bytes of the code page: the second byte of a character may follow unescaped.
        bytes_ += bytes;
        if (bytes_.size() >= LongBytes)
            flushBytes(false);
    }

    // "\'hh": one byte of the current font's code page.
    void byteEscape() {
        const QByteArray hex = in_.mid(pos_, 2);
        pos_ += hex.size();
        bool ok = false;
        const int byte = hex.toInt(&ok, 16);
        // A NUL is no character of a text: a reader of the log would stop at it.
        if (ok && byte != 0 && !state_.skipped && !state_.colorTable)
            bytes_ += static_cast<char>(byte);
    }

    // The bytes gathered so far as characters of the current code page. A character of
    // two bytes may be cut in a long run of text: unless `whole`, its first byte waits
    // in the decoder for the second.
    void flushBytes(bool whole) {
        if (!bytes_.isEmpty()) {
            QStringDecoder* decoder = decoderOf(state_);
            const QString chars = decoder ? decoder->decode(bytes_) : LineCodec::toText(bytes_);
            bytes_.clear();
            holding_ = decoder;
            if (!chars.isEmpty())
                text(state_, chars);
        }
        if (whole && holding_) {
            holding_->resetState(); // a first byte that markup cut off from its second
            holding_ = nullptr;
        }
    }

    // The decoder of the font's code page, else of the document's; none for the
    // line's own code page (Windows-1252) or one this system cannot decode.
    QStringDecoder* decoderOf(const GroupState& state) {
        const int page = fonts_.value(state.font >= 0 ? state.font : defaultFont_).codePage();
        if (page == 1252)
            return nullptr;
        if (QStringDecoder* decoder = page > 0 ? decoderFor(page) : nullptr)
            return decoder;
        return decoderFor(documentCodePage_);
    }

    QStringDecoder* decoderFor(int codePage) {
        auto [at, added] = decoders_.try_emplace(codePage);
        if (added && codePage > 0 && codePage != 1252) {
            // The system's converters name every Windows code page so.
            const QByteArray name = "windows-" + QByteArray::number(codePage);
            auto decoder = std::make_unique<QStringDecoder>(name.constData());
            if (decoder->isValid())
                at->second = std::move(decoder);
        }
        return at->second.get();
    }

    // `optional`: the word follows "\*", so its group is skipped unless the reader knows
    // the word as a destination whose text it shows.
    void controlWord(GroupState& state, bool optional) {
        if (pos_ >= in_.size())
            return;
        const char first = in_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            ++pos_;
            controlSymbol(first, state);
            return;
        }
        QByteArray word;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            word += in_[pos_++];
        bool hasParam = false;
        qint64 param = 0;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
            hasParam = true;
            // Beyond any file's length: a larger number means no more than this one.
            param = std::min(param * 10 + (in_[pos_++] - '0'), qint64(1) << 40);
        }
        if (negative)
            param = -param;
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_; // the space that ends a control word is part of it
        // A field's result is its text, however the writer marks the group.
        if (optional && word != "fldrslt")
            state.skipped = true;
        if (word == "bin") {
            binaryLeft_ = std::max(param, qint64(0));
            skipBinary();
            return;
        }
        apply(word, hasParam,
              static_cast<int>(std::clamp(param, -(qint64(1) << 24), qint64(1) << 24)), state);
    }

    void controlSymbol(char symbol, GroupState& state) {
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            if (!state.skipped && !state.colorTable)
                text(state, QString(QChar(symbol)));
            break;
        case '~': // a space that does not break
            if (!state.skipped)
                text(state, QString(QChar(0xA0)));
            break;
        case '_': // a hyphen that does not break
            if (!state.skipped)
                text(state, QString(QChar(0x2011)));
            break;
        case '*':
            // An optional destination follows: skipped when the reader does not know it.
            optionalNext_ = true;
            break;
        case '\r':
        case '\n':
            if (!state.skipped)
                text(state, QStringLiteral("\n"));
            break;
        default:
            break;
        }
    }

    void apply(const QByteArray& word, bool hasParam, int param, GroupState& state) {
        RunStyle& s = state.style;
        const bool on = !hasParam || param != 0;
        if (skippedDestinations().contains(word)) {
            state.skipped = true;
            state.fontTable = word == "fonttbl";
        } else if (state.fontTable) {
            if (word == "f")
                fontEntry_ = param;
            else if (word == "fcharset")
                fonts_[fontEntry_].charset = codePageOfCharset(param);
            else if (word == "cpg")
                fonts_[fontEntry_].page = param;
        } else if (word == "colortbl") {
            state.colorTable = true;
            state.skipped = true;
        } else if (state.colorTable) {
            if (word == "red")
                color_ = (color_ & ~0xFFu) | (param & 0xFF);
            else if (word == "green")
                color_ = (color_ & ~0xFF00u) | (param & 0xFF) << 8;
            else if (word == "blue")
                color_ = (color_ & ~0xFF0000u) | (param & 0xFF) << 16;
            else
                return;
        } else if (word == "ansicpg" && param > 0) {
            documentCodePage_ = param;
        } else if (word == "mac" || word == "pc" || word == "pca") {
            documentCodePage_ = word == "mac" ? 10000 : word == "pc" ? 437 : 850;
        } else if (word == "deff") {
            defaultFont_ = param;
        } else if (word == "f" && hasParam) {
            state.font = param;
        } else if (word == "plain") {
            state.font = -1;
            s.bold = s.italic = s.underline = false;
            s.color = 0;
            s.pointSize = 12;
        } else if (word == "b") {
            s.bold = on;
        } else if (word == "i") {
            s.italic = on;
        } else if (word == "ul") {
            s.underline = on;
        } else if (word == "ulnone") {
            s.underline = false;
        } else if (word == "fs" && hasParam && param > 0) {
            s.pointSize = std::max(1, param / 2);
        } else if (word == "cf") {
            // Entry 0 is usually empty: the default colour.
            s.color = colors_.value(param, 0);
        } else if (word == "uc") {
            state.skipAfterUnicode = std::clamp(param, 0, 8);
        } else if (word == "u" && hasParam) {
            // A 16-bit number, negative above 32767; anything else, or a NUL, is no
            // character, and its stand-ins are skipped all the same.
            const bool character = param != 0 && param >= -32768 && param <= 65535;
            if (character && !state.skipped)
                text(state,
                     QString(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param))));
            skipFallback(state.skipAfterUnicode);
        } else if (const auto c = characterWords().constFind(word); c != characterWords().cend()) {
            if (!state.skipped)
                text(state, QString(*c));
        }
    }

    // The next N bytes after "\binN" are data of the group, not markup: braces and NUL
    // bytes among them close nothing and show nothing. Data that goes on beyond the bytes
    // read so far is skipped as the next pieces come.
    void skipBinary() {
        const qsizetype skip = std::min<qint64>(binaryLeft_, in_.size() - pos_);
        pos_ += skip;
        binaryLeft_ -= skip;
    }

    // The characters that stand for a Unicode escape in readers that do not know it.
    void skipFallback(int count) {
        for (int i = 0; i < count && pos_ < in_.size(); ++i) {
            if (in_[pos_] == '\\' && pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'')
                pos_ += 4;
            else if (in_[pos_] == '{' || in_[pos_] == '}' || in_[pos_] == '\\')
                break;
            else
                ++pos_;
        }
    }

    // Each entry of the colour table ends with ";"; an empty one is the default colour.
    void endColor() {
        colors_ << color_;
        color_ = 0;
    }

    // Characters of either width in the group's style.
    template <class Chars> void text(const GroupState& state, Chars chars) {
        if (runs_.empty() || runs_.back().style != state.style)
            runs_.push_back({QString(), state.style});
        runs_.back().text += chars;
    }

    QByteArray in_;
    qsizetype pos_ = 0;
    qint64 binaryLeft_ = 0;
    bool optionalNext_ = false;
    bool checked_ = false;
    bool started_ = false;
    bool ended_ = false;
    bool failed_ = false;
    std::vector<GroupState> stack_;
    GroupState state_ = [] {
        GroupState first;
        first.style.pointSize = 12;
        return first;
    }();
    std::vector<StyledRun> runs_;
    QList<quint32> colors_;
    quint32 color_ = 0;
    // The code pages: of the document, of each font of the font table.
    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    int fontEntry_ = 0;
    QHash<int, FontCodePage> fonts_;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
    QByteArray bytes_;                  // bytes of the code page not decoded yet
    QStringDecoder* holding_ = nullptr; // may hold the first byte of a character
};

RtfReader::RtfReader() : parser_(std::make_unique<Parser>()) {}
RtfReader::~RtfReader() = default;

void RtfReader::read(QByteArrayView bytes, bool last) {
    parser_->read(bytes, last);
}

std::vector<StyledRun> RtfReader::takeRuns() {
    return parser_->takeRuns();
}

bool RtfReader::complete() const {
    return parser_->complete();
}

bool RtfReader::failed() const {
    return parser_->failed();
}

std::optional<std::vector<StyledRun>> ReadRtf(const QByteArray& rtf) {
    RtfReader reader;
    reader.read(rtf, true);
    if (!reader.complete())
        return std::nullopt;
    return reader.takeRuns();
}

} // namespace kst
