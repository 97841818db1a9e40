#include "styled_log.h"

#include "memory_check.h"

namespace kst {

namespace {

// The view shows new text at most this often: a person sees no delay, and a busy line's
// receive ticks (which come about as often) each bring their repaint along instead of
// waking the program once more. A quiet line's text is shown at once.
constexpr qint64 RefreshIntervalMs = 12;

const QString FullNote = QStringLiteral(
    "\r\n* * * The log is full: too little memory is left to hold more. Nothing more is "
    "written to it until it is saved and cleared. * * *\r\n");

} // namespace

StyledLog::StyledLog(LogView* responseBox, QObject* parent)
    : QObject(parent), box_(responseBox), memoryCheck_(memoryAllows) {
    store_.setMemoryCheck(memoryCheck_);
    refreshTimer_.setSingleShot(true);
    connect(&refreshTimer_, &QTimer::timeout, this, &StyledLog::flush);
    sinceRefresh_.start();
    if (box_)
        box_->setStore(&store_);
}

void StyledLog::setFontSizeIndex(int fontSizeIndex) {
    fontSizeIndex_ = fontSizeIndex;
}

void StyledLog::setMemoryCheck(LogStore::MemoryCheck check) {
    memoryCheck_ = std::move(check);
    store_.setMemoryCheck(memoryCheck_);
}

RunStyle StyledLog::styleOf(quint32 color, bool bold, bool italic, bool underline) const {
    return {color, bold, italic, underline, fontSizeIndex_ * 2 + 8};
}

RunStyle StyledLog::plainStyle() const {
    const int points = box_ ? box_->font().pointSize() : 8;
    return {0, false, false, false, points > 0 ? points : 8};
}

void StyledLog::Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                          const QString& sText, quint32 scolorNo, bool sFont1, bool sFont2,
                          bool sFont3) {
    if (!iText.isEmpty())
        write(iText, styleOf(colorNo, Font1, Font2, Font3));
    if (!sText.isEmpty())
        write(sText, styleOf(scolorNo, sFont1, sFont2, sFont3));
}

void StyledLog::Add_Color(const QString& label, const DisplayStyle& labelStyle, const QString& body,
                          const DisplayStyle& bodyStyle) {
    Add_Color(label, labelStyle.TextColor, labelStyle.IsBold, labelStyle.IsItalic,
              labelStyle.IsUnderline, body, bodyStyle.TextColor, bodyStyle.IsBold,
              bodyStyle.IsItalic, bodyStyle.IsUnderline);
}

void StyledLog::write(const QString& text, const RunStyle& style) {
    if (holding_) {
        held_.emplace_back(text, style);
        return;
    }
    const qint64 oldLength = store_.length();
    const bool wasFull = store_.isFull();
    if (!store_.append(text, store_.styleId(style)) && !wasFull) {
        store_.appendPastFull(FullNote, store_.styleId(style));
        emit full(FullNote.trimmed());
    }
    if (store_.length() != oldLength)
        appended(oldLength);
}

void StyledLog::appended(qint64 oldLength) {
    if (pendingFrom_ < 0)
        pendingFrom_ = oldLength;
    if (refreshTimer_.isActive())
        return;
    refreshTimer_.start(int(qMax<qint64>(0, RefreshIntervalMs - sinceRefresh_.elapsed())));
}

void StyledLog::flush() {
    refreshTimer_.stop();
    if (pendingFrom_ < 0)
        return;
    const qint64 from = std::exchange(pendingFrom_, -1);
    sinceRefresh_.restart();
    // The caret goes to the end (which also drops the user's selection) and the view follows.
    if (box_)
        box_->appended();
    emit changed(from, 0);
}

void StyledLog::replaced(qint64 oldLength) {
    refreshTimer_.stop();
    pendingFrom_ = -1;
    if (box_)
        box_->storeReset();
    emit changed(0, oldLength);
}

void StyledLog::clear() {
    const qint64 oldLength = store_.length();
    store_.clear();
    replaced(oldLength);
}

std::vector<StyledRun> StyledLog::runs() const {
    std::vector<StyledRun> result;
    int last = -1;
    store_.visitRuns(0, store_.length(), [&](QStringView text, LogStore::StyleId id) {
        if (id != last) {
            const RunStyle& style = store_.style(id);
            if (result.empty() || result.back().style != style)
                result.push_back({QString(), style});
            last = id;
        }
        result.back().text += text;
    });
    return result;
}

LogStore StyledLog::newStore() const {
    LogStore store;
    store.setMemoryCheck(memoryCheck_);
    return store;
}

void StyledLog::hold() {
    holding_ = true;
}

void StyledLog::adopt(LogStore&& loaded) {
    const qint64 oldLength = store_.length();
    store_ = std::move(loaded);
    store_.setMemoryCheck(memoryCheck_);
    replaced(oldLength);
    release();
}

void StyledLog::release() {
    holding_ = false;
    for (const auto& [text, style] : std::exchange(held_, {}))
        write(text, style);
}

} // namespace kst
