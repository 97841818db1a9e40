#include "log_store.h"

#include <QStringMatcher>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace kst {

namespace {

constexpr qint64 RowsPerBlock = qint64(1) << 16;
constexpr qint64 RunsPerBlock = qint64(1) << 18;

constexpr quint16 LengthMask = 0x1FFF;
constexpr quint16 WideFlag = 0x2000;
constexpr quint16 ContinuesFlag = 0x4000;
constexpr quint16 ManyRunsFlag = 0x8000;
constexpr quint16 NoSplit = 0xFFFF;

struct FreeBytes {
    void operator()(char* bytes) const { std::free(bytes); }
};

bool isLatin1(QStringView text) {
    char16_t all = 0;
    for (const QChar c : text)
        all |= c.unicode();
    return all <= 0xFF;
}

bool isLatin1(QByteArrayView) {
    return true;
}

void widen(const char* in, qsizetype size, char16_t* out) {
    for (qsizetype i = 0; i < size; ++i)
        out[i] = static_cast<uchar>(in[i]);
}

// Characters into a row's bytes: one byte each, or two in a row that holds wider ones.
void write(QStringView text, bool wide, char* out) {
    if (wide) {
        std::memcpy(out, text.utf16(), static_cast<size_t>(2 * text.size()));
        return;
    }
    const char16_t* in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(in[i]);
}

void write(QByteArrayView text, bool wide, char* out) {
    if (wide)
        widen(text.data(), text.size(), reinterpret_cast<char16_t*>(out));
    else
        std::memcpy(out, text.data(), static_cast<size_t>(text.size()));
}

// Whether the first `take` units of the text end in the first unit of a character of
// two units (its second may follow in the text, or come with the next one).
bool endsInFirstOfPair(QStringView text, qsizetype take) {
    return text[take - 1].isHighSurrogate();
}

bool endsInFirstOfPair(QByteArrayView, qsizetype) {
    return false;
}

bool isCarriageReturn(QChar c) {
    return c == u'\r';
}
bool isCarriageReturn(char c) {
    return c == '\r';
}
bool isLineFeed(QChar c) {
    return c == u'\n';
}
bool isLineFeed(char c) {
    return c == '\n';
}

qsizetype lineBreakIn(QStringView text, qsizetype from) {
    for (qsizetype i = from; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n' || c == u'\r')
            return i;
    }
    return text.size();
}

qsizetype lineBreakIn(QByteArrayView text, qsizetype from) {
    const char* data = text.data();
    const void* lf = std::memchr(data + from, '\n', static_cast<size_t>(text.size() - from));
    const qsizetype end = lf ? static_cast<const char*>(lf) - data : text.size();
    const void* cr = std::memchr(data + from, '\r', static_cast<size_t>(end - from));
    return cr ? static_cast<const char*>(cr) - data : end;
}

// Every byte's character folded as a search that does not mind case folds it.
const std::array<char16_t, 256>& latin1Folds() {
    static const std::array<char16_t, 256> folds = [] {
        std::array<char16_t, 256> f{};
        for (int b = 0; b < 256; ++b)
            f[static_cast<size_t>(b)] = QChar(char16_t(b)).toCaseFolded().unicode();
        return f;
    }();
    return folds;
}

// How seldom a character stands in a log: a search looks for the seldomest of its text
// first. Blanks, commas and digits fill byte lists; letters are fewer.
int rarity(char16_t c) {
    if (c == u' ' || c == u',' || c == u'\t')
        return 0;
    if (c >= u'0' && c <= u'9')
        return 1;
    if (c >= u'a' && c <= u'f')
        return 2;
    if (c < 0x80 && QChar(c).isLetter())
        return 3;
    return c < 0x80 ? 4 : 5;
}

} // namespace

struct LogStore::Row {
    quint32 page;
    quint32 offset;
    // The length in characters (without the line break) and the flags.
    quint16 lengthAndFlags;
    // The column where the second style starts (NoSplit: one style); with ManyRunsFlag
    // the number of runs.
    quint16 split;
    // The first and second style; with ManyRunsFlag the index of the first run.
    StyleId styleA;
    StyleId styleB;

    int length() const { return lengthAndFlags & LengthMask; }
    bool wide() const { return lengthAndFlags & WideFlag; }
    bool continues() const { return lengthAndFlags & ContinuesFlag; }
    bool manyRuns() const { return lengthAndFlags & ManyRunsFlag; }
    qint64 runIndex() const { return (qint64(styleA) << 16) | styleB; }
    void setLength(int length) {
        lengthAndFlags = static_cast<quint16>((lengthAndFlags & ~LengthMask) | length);
    }
};

struct LogStore::Page {
    std::unique_ptr<char, FreeBytes> data;
    qsizetype used = 0;
    qint64 firstRow = 0;
    qint64 firstChar = 0;
    qint64 chars = 0;
    // It holds a row of two bytes a character, so a row's position is not its place in
    // the page: the positions of its rows are kept (from the page's first character).
    bool wide = false;
    std::vector<quint32> rowStarts;
};

// ---------------------------------------------------------------------------------------
// Search

// The text looked for, folded, and how to find it in Latin-1 bytes: the bytes that fold
// to its seldomest character are looked for with memchr, then the rest is compared.
class LogStore::Finder {
public:
    explicit Finder(QStringView needle)
        : size_(needle.size()), matcher_(needle.toString(), Qt::CaseInsensitive) {
        const auto& folds = latin1Folds();
        folded_.resize(needle.size());
        for (qsizetype i = 0; i < needle.size(); ++i)
            folded_[i] = needle[i].toCaseFolded().unicode();
        int best = -1;
        for (qsizetype i = 0; i < folded_.size(); ++i) {
            if (std::find(folds.begin(), folds.end(), folded_[i]) == folds.end()) {
                inLatin1_ = false;
                return;
            }
            if (rarity(folded_[i]) > best) {
                best = rarity(folded_[i]);
                anchor_ = i;
            }
        }
        for (int b = 0; b < 256; ++b)
            if (folds[static_cast<size_t>(b)] == folded_[anchor_])
                anchorBytes_.push_back(static_cast<uchar>(b));
    }

    qsizetype size() const { return size_; }
    const QStringMatcher& matcher() const { return matcher_; }

    // Matches that start in [from, to - size] of Latin-1 `bytes`, each behind the last;
    // `visit` returns false to stop. Returns where the next match may start.
    template <class Visit>
    qsizetype scanBytes(const char* bytes, qsizetype from, qsizetype to, Visit visit,
                        bool& stopped) const {
        stopped = false;
        if (!inLatin1_ || to - from < size_)
            return from;
        const qsizetype lastStart = to - size_;
        const auto* data = reinterpret_cast<const uchar*>(bytes);
        std::array<qsizetype, 4> next;
        next.fill(-1);
        qsizetype start = from;
        while (start <= lastStart) {
            const qsizetype at = findAnchor(data, start + anchor_, lastStart + anchor_ + 1, next);
            if (at < 0)
                return lastStart + 1;
            const qsizetype candidate = at - anchor_;
            if (matchesAt(data + candidate)) {
                if (!visit(candidate)) {
                    stopped = true;
                    return candidate;
                }
                start = candidate + size_;
            } else {
                start = candidate + 1;
            }
        }
        return start;
    }

private:
    bool matchesAt(const uchar* at) const {
        const auto& folds = latin1Folds();
        for (qsizetype i = 0; i < size_; ++i)
            if (folds[at[i]] != folded_[i])
                return false;
        return true;
    }

    // The first byte in [from, to) that can stand for the anchor character, or -1.
    qsizetype findAnchor(const uchar* data, qsizetype from, qsizetype to,
                         std::array<qsizetype, 4>& next) const {
        if (from >= to)
            return -1;
        if (anchorBytes_.size() > qsizetype(next.size())) {
            for (qsizetype i = from; i < to; ++i)
                if (std::find(anchorBytes_.begin(), anchorBytes_.end(), data[i]) !=
                    anchorBytes_.end())
                    return i;
            return -1;
        }
        qsizetype best = -1;
        for (qsizetype k = 0; k < anchorBytes_.size(); ++k) {
            qsizetype& at = next[static_cast<size_t>(k)];
            if (at != PastEnd && at < from) {
                const void* found =
                    std::memchr(data + from, anchorBytes_[k], static_cast<size_t>(to - from));
                at = found ? static_cast<const uchar*>(found) - data : PastEnd;
            }
            if (at != PastEnd && (best < 0 || at < best))
                best = at;
        }
        return best;
    }

    static constexpr qsizetype PastEnd = std::numeric_limits<qsizetype>::max();

    qsizetype size_;
    QStringMatcher matcher_;
    QVarLengthArray<char16_t, 64> folded_;
    qsizetype anchor_ = 0;
    bool inLatin1_ = true;
    QVarLengthArray<uchar, 4> anchorBytes_;
};

// ---------------------------------------------------------------------------------------
// Building

LogStore::LogStore() {
    static_assert(sizeof(Row) == 16, "a row takes 16 bytes");
    clear();
}

LogStore::~LogStore() = default;
LogStore::LogStore(LogStore&& other) noexcept = default;
LogStore& LogStore::operator=(LogStore&& other) noexcept = default;

void LogStore::clear() {
    styles_.assign(1, RunStyle{});
    pages_.clear();
    rowBlocks_.clear();
    runBlocks_.clear();
    runCount_ = 0;
    full_ = false;
    pastFull_ = false;
    // An empty log is one empty row in an empty page; their memory is only mapped, not
    // used, until text comes.
    Page first;
    first.data.reset(static_cast<char*>(std::malloc(PageBytes)));
    pages_.push_back(std::move(first));
    rowBlocks_.emplace_back(new Row[RowsPerBlock]);
    rowBlocks_[0][0] = Row{0, 0, 0, NoSplit, 0, 0};
    rowCount_ = 1;
}

LogStore::StyleId LogStore::styleId(const RunStyle& style) {
    for (qsizetype i = static_cast<qsizetype>(styles_.size()) - 1; i >= 0; --i)
        if (styles_[static_cast<size_t>(i)] == style)
            return static_cast<StyleId>(i);
    if (styles_.size() > std::numeric_limits<StyleId>::max())
        return static_cast<StyleId>(styles_.size() - 1);
    styles_.push_back(style);
    return static_cast<StyleId>(styles_.size() - 1);
}

bool LogStore::take(qsizetype bytes) {
    if (pastFull_)
        return true;
    if (full_ || (memoryCheck_ && !memoryCheck_(bytes))) {
        full_ = true;
        return false;
    }
    return true;
}

LogStore::Row& LogStore::row(qint64 index) {
    return rowBlocks_[static_cast<size_t>(index / RowsPerBlock)][index % RowsPerBlock];
}

const LogStore::Row& LogStore::row(qint64 index) const {
    return rowBlocks_[static_cast<size_t>(index / RowsPerBlock)][index % RowsPerBlock];
}

const LogStore::Page& LogStore::pageOfRow(const Row& r) const {
    return pages_[r.page];
}

const char* LogStore::rowBytes(const Row& r) const {
    return pages_[r.page].data.get() + r.offset;
}

bool LogStore::append(QStringView text, StyleId style) {
    return appendText(text, style);
}

bool LogStore::appendLatin1(QByteArrayView text, StyleId style) {
    return appendText(text, style);
}

template <class Text> bool LogStore::appendText(Text text, StyleId style) {
    if (full_ && !pastFull_)
        return false;
    for (qsizetype from = 0;;) {
        const qsizetype lineEnd = lineBreakIn(text, from);
        if (lineEnd > from && !appendPiece(text.sliced(from, lineEnd - from), style))
            return false;
        if (lineEnd == text.size())
            return true;
        if (!endLine(style))
            return false;
        from = lineEnd + 1;
        if (isCarriageReturn(text[lineEnd]) && from < text.size() && isLineFeed(text[from]))
            ++from;
    }
}

bool LogStore::appendRange(const LogStore& other, qint64 from, qint64 to) {
    bool taken = true;
    other.visitRuns(from, to, [&](QStringView text, StyleId style) {
        taken = taken && append(text, styleId(other.style(style)));
    });
    return taken;
}

void LogStore::appendPastFull(QStringView text, StyleId style) {
    pastFull_ = true;
    append(text, style);
    pastFull_ = false;
}

template <class Text> bool LogStore::appendPiece(Text piece, StyleId style) {
    while (!piece.isEmpty()) {
        if (row(rowCount_ - 1).length() >= MaxRowChars && !startRow(true, style))
            return false;
        const qsizetype room = MaxRowChars - row(rowCount_ - 1).length();
        qsizetype take = qMin<qsizetype>(room, piece.size());
        // A character of two units stays in one row: the next one, when this one is filled.
        if (take == room && endsInFirstOfPair(piece, take) && --take == 0) {
            if (!startRow(true, style))
                return false;
            continue;
        }
        const Text chunk = piece.first(take);
        if (!row(rowCount_ - 1).wide() && !isLatin1(chunk) && !widenLastRow())
            return false;
        const bool wide = row(rowCount_ - 1).wide();
        if (!roomInPage(wide ? 2 * take : take, wide))
            return false;
        Row& last = row(rowCount_ - 1);
        setStyleAt(last, last.length(), style);
        if (full_ && !pastFull_)
            return false;
        Page& page = pages_.back();
        write(chunk, wide, page.data.get() + page.used);
        page.used += wide ? 2 * take : take;
        page.chars += take;
        last.setLength(last.length() + static_cast<int>(take));
        piece = piece.sliced(take);
    }
    return true;
}

template <class Item>
bool LogStore::roomInBlocks(std::vector<std::unique_ptr<Item[]>>& blocks, qint64 count,
                            qint64 perBlock) {
    if (count % perBlock != 0 || count / perBlock < static_cast<qint64>(blocks.size()))
        return true;
    if (!take(perBlock * qint64(sizeof(Item))))
        return false;
    blocks.emplace_back(new (std::nothrow) Item[perBlock]);
    if (!blocks.back()) {
        blocks.pop_back();
        full_ = true;
        return false;
    }
    return true;
}

bool LogStore::endLine(StyleId style) {
    // The next row's place is made first: a line break is never written without the row
    // it starts.
    if (!roomInBlocks(rowBlocks_, rowCount_, RowsPerBlock))
        return false;
    const bool wide = row(rowCount_ - 1).wide();
    if (!roomInPage(wide ? 2 : 1, wide))
        return false;
    // The break is an empty line's only character: the line takes its style.
    Row& ended = row(rowCount_ - 1);
    if (ended.length() == 0)
        setStyleAt(ended, 0, style);
    Page& page = pages_.back();
    if (wide) {
        const char16_t lineBreak = u'\n';
        std::memcpy(page.data.get() + page.used, &lineBreak, 2);
    } else {
        page.data.get()[page.used] = '\n';
    }
    page.used += wide ? 2 : 1;
    page.chars += 1;
    return startRow(false, style);
}

bool LogStore::startRow(bool continues, StyleId style) {
    if (!roomInBlocks(rowBlocks_, rowCount_, RowsPerBlock))
        return false;
    Page& page = pages_.back();
    if (page.wide)
        page.rowStarts.push_back(static_cast<quint32>(page.chars));
    row(rowCount_) = Row{static_cast<quint32>(pages_.size() - 1),
                         static_cast<quint32>(page.used),
                         static_cast<quint16>(continues ? ContinuesFlag : 0),
                         NoSplit,
                         style,
                         0};
    ++rowCount_;
    return true;
}

// Room for `bytes` more of the last row in the last page. A row never spans two pages:
// when the page is full the last row moves to a new one.
bool LogStore::roomInPage(qsizetype bytes, bool wide) {
    Page& page = pages_.back();
    if (page.used + bytes <= PageBytes)
        return true;
    if (!take(PageBytes))
        return false;
    Page next;
    next.data.reset(static_cast<char*>(std::malloc(PageBytes)));
    if (!next.data) {
        full_ = true;
        return false;
    }
    Row& last = row(rowCount_ - 1);
    const qsizetype rowBytes = page.used - last.offset;
    std::memcpy(next.data.get(), page.data.get() + last.offset, static_cast<size_t>(rowBytes));
    page.used = last.offset;
    page.chars -= last.length();
    if (page.wide)
        page.rowStarts.pop_back();
    next.used = rowBytes;
    next.firstRow = rowCount_ - 1;
    next.firstChar = page.firstChar + page.chars;
    next.chars = last.length();
    next.wide = wide;
    if (wide)
        next.rowStarts.push_back(0);
    last.page = static_cast<quint32>(pages_.size());
    last.offset = 0;
    pages_.push_back(std::move(next));
    return true;
}

// The last row takes a character beyond Latin-1: it is written two bytes a character
// from now on, starting at an even place.
bool LogStore::widenLastRow() {
    Row& last = row(rowCount_ - 1);
    const int length = last.length();
    QVarLengthArray<char16_t, MaxRowChars + 1> wide(length);
    widen(rowBytes(last), length, wide.data());
    Page& page = pages_.back();
    if (!page.wide) {
        // Until now each row's place in the page was its position.
        for (qint64 k = page.firstRow; k < rowCount_; ++k)
            page.rowStarts.push_back(row(k).offset);
        page.wide = true;
    }
    // The row's Latin-1 bytes go; its characters come back two bytes each.
    page.used = last.offset;
    page.chars -= length;
    last.setLength(0);
    last.lengthAndFlags |= WideFlag;
    const qsizetype aligned = (qsizetype(last.offset) + 1) & ~qsizetype(1);
    const qsizetype bytes = 2 * qsizetype(length);
    if (aligned + bytes <= PageBytes) {
        last.offset = static_cast<quint32>(aligned);
        page.used = aligned;
    }
    if (!roomInPage(bytes, true))
        return false;
    Page& target = pages_.back();
    std::memcpy(target.data.get() + target.used, wide.data(), static_cast<size_t>(bytes));
    target.used += bytes;
    target.chars += length;
    last.setLength(length);
    return true;
}

void LogStore::setStyleAt(Row& r, int column, StyleId style) {
    if (column == 0) {
        r.styleA = style;
        return;
    }
    if (!r.manyRuns()) {
        if (r.split == NoSplit) {
            if (r.styleA != style) {
                r.split = static_cast<quint16>(column);
                r.styleB = style;
            }
            return;
        }
        if (r.styleB == style)
            return;
    } else {
        const qint64 lastRun = r.runIndex() + r.split - 1;
        if (runBlocks_[static_cast<size_t>(lastRun / RunsPerBlock)][lastRun % RunsPerBlock].style ==
            style)
            return;
    }
    // A third style in one row: its runs go to the table of rows with many.
    const auto push = [this](RunAt run) {
        if (!roomInBlocks(runBlocks_, runCount_, RunsPerBlock))
            return false;
        runBlocks_[static_cast<size_t>(runCount_ / RunsPerBlock)][runCount_ % RunsPerBlock] = run;
        ++runCount_;
        return true;
    };
    if (!r.manyRuns()) {
        const qint64 first = runCount_;
        if (!push({0, r.styleA}) || !push({r.split, r.styleB}) ||
            !push({static_cast<quint16>(column), style}))
            return;
        r.lengthAndFlags |= ManyRunsFlag;
        r.split = 3;
        r.styleA = static_cast<StyleId>(first >> 16);
        r.styleB = static_cast<StyleId>(first & 0xFFFF);
        return;
    }
    if (push({static_cast<quint16>(column), style}))
        ++r.split;
}

// ---------------------------------------------------------------------------------------
// Reading

qint64 LogStore::length() const {
    const Page& last = pages_.back();
    return last.firstChar + last.chars;
}

qint64 LogStore::bytesHeld() const {
    qint64 bytes = 0;
    for (const Page& page : pages_)
        bytes += page.used;
    return bytes + rowCount_ * qint64(sizeof(Row)) + runCount_ * qint64(sizeof(RunAt));
}

int LogStore::rowLength(qint64 index) const {
    return row(index).length();
}

bool LogStore::rowContinues(qint64 index) const {
    return row(index).continues();
}

bool LogStore::rowEndsLine(qint64 index) const {
    return index + 1 < rowCount_ && !row(index + 1).continues();
}

qint64 LogStore::rowChars(qint64 index) const {
    return row(index).length() + (rowEndsLine(index) ? 1 : 0);
}

qint64 LogStore::pageRowEnd(qsizetype page) const {
    return page + 1 < static_cast<qsizetype>(pages_.size())
               ? pages_[static_cast<size_t>(page + 1)].firstRow
               : rowCount_;
}

qint64 LogStore::rowStart(qint64 index) const {
    const Row& r = row(index);
    const Page& page = pageOfRow(r);
    if (!page.wide)
        return page.firstChar + r.offset;
    return page.firstChar + page.rowStarts[static_cast<size_t>(index - page.firstRow)];
}

qsizetype LogStore::pageOfPosition(qint64 position) const {
    const auto after =
        std::upper_bound(pages_.begin(), pages_.end(), position,
                         [](qint64 p, const Page& page) { return p < page.firstChar; });
    return qMax<qsizetype>(0, (after - pages_.begin()) - 1);
}

qint64 LogStore::rowAt(qint64 position) const {
    if (position >= length())
        return rowCount_ - 1;
    position = qMax<qint64>(0, position);
    const qsizetype p = pageOfPosition(position);
    const Page& page = pages_[static_cast<size_t>(p)];
    const qint64 offset = position - page.firstChar;
    if (page.wide) {
        const auto after = std::upper_bound(page.rowStarts.begin(), page.rowStarts.end(), offset);
        return page.firstRow + qMax<qint64>(0, (after - page.rowStarts.begin()) - 1);
    }
    // The last row of the page that starts at or before the offset.
    qint64 lo = page.firstRow;
    qint64 hi = pageRowEnd(p);
    while (hi - lo > 1) {
        const qint64 mid = lo + (hi - lo) / 2;
        if (row(mid).offset <= offset)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

QString LogStore::rowText(qint64 index) const {
    const Row& r = row(index);
    if (r.wide())
        return QString(reinterpret_cast<const QChar*>(rowBytes(r)), r.length());
    return QString::fromLatin1(rowBytes(r), r.length());
}

std::vector<LogStore::Span> LogStore::rowSpans(qint64 index) const {
    const Row& r = row(index);
    const int length = r.length();
    std::vector<Span> spans;
    if (r.manyRuns()) {
        const qint64 first = r.runIndex();
        for (qint64 k = 0; k < r.split; ++k) {
            const qint64 at = first + k;
            const RunAt& run =
                runBlocks_[static_cast<size_t>(at / RunsPerBlock)][at % RunsPerBlock];
            if (!spans.empty())
                spans.back().length = run.column - spans.back().from;
            spans.push_back({run.column, 0, run.style});
        }
        spans.back().length = length - spans.back().from;
    } else if (r.split == NoSplit || r.split >= length) {
        spans.push_back({0, length, r.styleA});
    } else {
        spans.push_back({0, r.split, r.styleA});
        spans.push_back({r.split, length - r.split, r.styleB});
    }
    // A style that no character took (memory ran short just behind it) is no span.
    if (spans.size() > 1)
        std::erase_if(spans, [](const Span& span) { return span.length == 0; });
    return spans;
}

void LogStore::visitText(qint64 from, qint64 to, qsizetype pieceChars,
                         const std::function<bool(QStringView)>& visit) const {
    from = qBound<qint64>(0, from, length());
    to = qBound<qint64>(from, to, length());
    QString buffer;
    const auto flush = [&]() {
        const bool go = buffer.isEmpty() || visit(buffer);
        buffer.resize(0);
        return go;
    };
    const auto add = [&](QStringView text) {
        while (!text.isEmpty()) {
            const qsizetype fits = qMin(text.size(), pieceChars - buffer.size());
            buffer.append(text.first(fits));
            text = text.sliced(fits);
            if (buffer.size() >= pieceChars && !flush())
                return false;
        }
        return true;
    };
    buffer.reserve(qMin<qint64>(pieceChars, to - from));
    for (qsizetype p = pageOfPosition(from); from < to && p < qsizetype(pages_.size()); ++p) {
        const Page& page = pages_[static_cast<size_t>(p)];
        const qint64 pageEnd = qMin(to, page.firstChar + page.chars);
        if (!page.wide) {
            // A page of Latin-1 rows holds the text byte for byte, line breaks included.
            const char* bytes = page.data.get() + (from - page.firstChar);
            for (qint64 at = from; at < pageEnd;) {
                const qsizetype size =
                    static_cast<qsizetype>(qMin<qint64>(pageEnd - at, pieceChars - buffer.size()));
                const qsizetype old = buffer.size();
                buffer.resize(old + size);
                widen(bytes + (at - from), size, reinterpret_cast<char16_t*>(buffer.data()) + old);
                at += size;
                if (buffer.size() >= pieceChars && !flush())
                    return;
            }
        } else {
            qint64 start = rowStart(rowAt(from));
            for (qint64 k = rowAt(from); start < pageEnd && k < pageRowEnd(p); ++k) {
                QString text = rowText(k);
                if (rowEndsLine(k))
                    text += u'\n';
                const qint64 skip = qMax<qint64>(0, from - start);
                const qint64 take = qMin<qint64>(text.size(), pageEnd - start) - skip;
                if (take > 0 && !add(QStringView(text).sliced(skip, take)))
                    return;
                start += text.size();
            }
        }
        from = pageEnd;
    }
    flush();
}

QString LogStore::text(qint64 from, qint64 to) const {
    QString result;
    visitText(from, to, std::numeric_limits<qsizetype>::max() / 4, [&](QStringView piece) {
        result += piece;
        return true;
    });
    return result;
}

void LogStore::visitRuns(qint64 from, qint64 to,
                         const std::function<void(QStringView, StyleId)>& visit) const {
    from = qBound<qint64>(0, from, length());
    to = qBound<qint64>(from, to, length());
    if (from >= to)
        return;
    qint64 k = rowAt(from);
    QString text;
    for (qint64 start = rowStart(k); start < to && k < rowCount_; start += rowChars(k), ++k) {
        const QString chars = rowText(k);
        const std::vector<Span> spans = rowSpans(k);
        const bool breakInside =
            rowEndsLine(k) && start + chars.size() >= from && start + chars.size() < to;
        for (size_t s = 0; s < spans.size(); ++s) {
            const qint64 a = qMax<qint64>(from, start + spans[s].from);
            const qint64 b = qMin<qint64>(to, start + spans[s].from + spans[s].length);
            text = b > a ? chars.sliced(a - start, b - a) : QString();
            if (s + 1 == spans.size() && breakInside)
                text += u'\n';
            if (!text.isEmpty())
                visit(text, spans[s].style);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Search

template <class Visit>
void LogStore::scan(const Finder& finder, qint64 from, qint64 to, Visit visit) const {
    const qsizetype m = finder.size();
    from = qMax<qint64>(0, from);
    to = qMin(to, length());
    if (m == 0)
        return;
    qint64 position = from;
    for (qsizetype p = pageOfPosition(position); position + m <= to && p < qsizetype(pages_.size());
         p = qMax(p + 1, pageOfPosition(position))) {
        const Page& page = pages_[static_cast<size_t>(p)];
        const qint64 pageEnd = qMin(to, page.firstChar + page.chars);
        if (position < pageEnd) {
            if (!page.wide) {
                bool stopped = false;
                const qsizetype next = finder.scanBytes(
                    page.data.get(), position - page.firstChar, pageEnd - page.firstChar,
                    [&](qsizetype at) { return visit(page.firstChar + at); }, stopped);
                if (stopped)
                    return;
                position = qMax(position, page.firstChar + next);
            } else {
                const QString piece = text(position, pageEnd);
                qsizetype at = finder.matcher().indexIn(piece, 0);
                qsizetype next = 0;
                for (; at >= 0 && at + m <= piece.size();
                     at = finder.matcher().indexIn(piece, next)) {
                    if (!visit(position + at))
                        return;
                    next = at + m;
                }
                position += next;
            }
        }
        if (pageEnd >= to)
            break;
        // A match that starts in this page and ends in the next.
        const qint64 start = qMax(position, pageEnd - m + 1);
        if (start < pageEnd) {
            const QString across = text(start, qMin(to, pageEnd + m - 1));
            const qsizetype at = finder.matcher().indexIn(across, 0);
            if (at >= 0 && start + at < pageEnd) {
                if (!visit(start + at))
                    return;
                position = start + at + m;
                continue;
            }
        }
        position = qMax(position, pageEnd);
    }
}

qint64 LogStore::indexOf(QStringView needle, qint64 from, qint64 to) const {
    qint64 found = -1;
    scan(Finder(needle), from, to, [&](qint64 at) {
        found = at;
        return false;
    });
    return found;
}

qint64 LogStore::count(QStringView needle, qint64 from, qint64 to, qint64* lastEnd) const {
    qint64 matches = 0;
    qint64 behind = from;
    scan(Finder(needle), from, to, [&](qint64 at) {
        ++matches;
        behind = at + needle.size();
        return true;
    });
    if (lastEnd)
        *lastEnd = behind;
    return matches;
}

qint64 LogStore::lineEndFrom(qint64 from) const {
    if (from >= length())
        return length();
    qint64 k = rowAt(from);
    qint64 start = rowStart(k);
    for (; !rowEndsLine(k); ++k) {
        if (k + 1 >= rowCount_)
            return length();
        start += rowChars(k);
    }
    return start + row(k).length() + 1;
}

qint64 LogStore::lastLineEndBefore(qint64 to) const {
    if (to <= 0)
        return 0;
    qint64 k = rowAt(to);
    if (to > rowStart(k) + row(k).length())
        return to; // just behind the row's own line break
    while (k > 0 && row(k).continues())
        --k;
    return k == 0 ? 0 : rowStart(k);
}

} // namespace kst
