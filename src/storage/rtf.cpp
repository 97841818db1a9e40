#include "rtf.h"

#include "notation/line_codec.h"

#include <QList>
#include <QSet>
#include <algorithm>
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
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n') {
            out += "\\par\n";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out += static_cast<char>(u);
        } else {
            // Signed 16 bits, as the format counts; "?" stands for it in old readers.
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
}

} // namespace

QByteArray WriteRtf(const std::vector<StyledRun>& runs, const QString& fontName) {
    QList<quint32> colors;
    for (const StyledRun& run : runs) {
        if (!colors.contains(run.color))
            colors << run.color;
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendEscaped(out, fontName.isEmpty() ? QStringLiteral("Courier New") : fontName);
    out += ";}}\n{\\colortbl;";
    for (quint32 color : colors)
        out += colorEntry(color);
    out += "}\n\\viewkind4\\pard\\f0\n";
    for (const StyledRun& run : runs) {
        out += "\\plain\\f0\\fs" + QByteArray::number(run.pointSize * 2) + "\\cf" +
               QByteArray::number(colors.indexOf(run.color) + 1);
        if (run.bold)
            out += "\\b";
        if (run.italic)
            out += "\\i";
        if (run.underline)
            out += "\\ul";
        out += ' ';
        appendEscaped(out, run.text);
    }
    out += "}\n";
    return out;
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
                                           "field",
                                           "fldinst",
                                           "bkmkstart",
                                           "bkmkend"};
    return names;
}

struct GroupState {
    StyledRun style;
    int skipAfterUnicode = 1;
    bool skipped = false;
    bool colorTable = false;
};

class RtfReader {
public:
    explicit RtfReader(const QByteArray& rtf) : in_(rtf) {}

    std::optional<std::vector<StyledRun>> read() {
        if (!IsRtf(in_))
            return std::nullopt;
        std::vector<GroupState> stack;
        GroupState state;
        state.style.pointSize = 12;
        bool started = false;
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                stack.push_back(state);
                state.colorTable = false;
                started = true;
            } else if (c == '}') {
                if (stack.empty())
                    return std::nullopt; // a closing brace with nothing open
                state = stack.back();
                stack.pop_back();
                if (stack.empty())
                    break; // the end of the document
            } else if (c == '\\') {
                controlWord(state);
            } else if (c == '\r' || c == '\n') {
                // Line breaks of the file are no text.
            } else if (state.colorTable) {
                if (c == ';')
                    endColor();
            } else if (!state.skipped) {
                text(state, LineCodec::charOf(static_cast<unsigned char>(c)));
            }
        }
        // A file cut short (a group never closed) is damaged: nothing of it is taken.
        if (!started || !stack.empty())
            return std::nullopt;
        return runs_;
    }

private:
    void controlWord(GroupState& state) {
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
        if (word == "bin") {
            // The next N bytes are data of the group, not markup: braces and NUL bytes
            // among them close nothing and show nothing.
            pos_ += std::min(std::max(param, qint64(0)), in_.size() - pos_);
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
                text(state, QChar(symbol));
            break;
        case '~':
            if (!state.skipped)
                text(state, QChar(0xA0));
            break;
        case '\'': {
            const QByteArray hex = in_.mid(pos_, 2);
            pos_ += hex.size();
            bool ok = false;
            const int byte = hex.toInt(&ok, 16);
            if (ok && !state.skipped && !state.colorTable)
                text(state, LineCodec::charOf(static_cast<unsigned char>(byte)));
            break;
        }
        case '*':
            // An optional destination: skipped when the reader does not know it.
            state.skipped = true;
            break;
        case '\r':
        case '\n':
            if (!state.skipped)
                text(state, QChar(u'\n'));
            break;
        default:
            break;
        }
    }

    void apply(const QByteArray& word, bool hasParam, int param, GroupState& state) {
        StyledRun& s = state.style;
        const bool on = !hasParam || param != 0;
        if (skippedDestinations().contains(word)) {
            state.skipped = true;
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
        } else if (word == "plain") {
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
            state.skipAfterUnicode = std::max(0, param);
        } else if (word == "u" && hasParam) {
            if (!state.skipped)
                text(state, QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
            skipFallback(state.skipAfterUnicode);
        } else if (word == "par" || word == "line") {
            if (!state.skipped)
                text(state, QChar(u'\n'));
        } else if (word == "tab") {
            if (!state.skipped)
                text(state, QChar(u'\t'));
        }
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

    void text(const GroupState& state, QChar c) {
        if (!runs_.empty() && runs_.back().sameStyle(state.style)) {
            runs_.back().text += c;
            return;
        }
        StyledRun run = state.style;
        run.text = QString(c);
        runs_.push_back(run);
    }

    const QByteArray& in_;
    qsizetype pos_ = 0;
    std::vector<StyledRun> runs_;
    QList<quint32> colors_;
    quint32 color_ = 0;
};

} // namespace

std::optional<std::vector<StyledRun>> ReadRtf(const QByteArray& rtf) {
    return RtfReader(rtf).read();
}

} // namespace kst
