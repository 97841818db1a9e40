#include "styled_log.h"

#include "platform/desktop/bgr_color.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kst {

namespace {

// Runs wait at most this long, so a fast line costs one layout and one repaint of the
// view per interval instead of one per block; a person sees no delay.
constexpr int kFlushIntervalMs = 10;
// Past this many queued characters the runs are written without waiting for the
// timer, so a handler that logs a lot in one go does not hold it all twice.
constexpr qsizetype kFlushThreshold = 256 * 1024;

// The log keeps its line breaks as paragraph ends; CR LF, a lone CR and a lone LF all end a line.
// Taken by value so that a log of many megabytes is mended in place, not copied.
QString normalizedBreaks(QString text) {
    if (!text.contains(u'\r'))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QTextCharFormat charFormat(quint32 color, bool bold, bool italic, bool underline, int pointSize) {
    QTextCharFormat format;
    format.setForeground(colorFromBgr(color));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontPointSize(pointSize);
    return format;
}

} // namespace

StyledLog::StyledLog(QPlainTextEdit* responseBox, QObject* parent)
    : QObject(parent), box_(responseBox) {
    box_->setUndoRedoEnabled(false);
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &StyledLog::flush);
}

void StyledLog::setFontSizeIndex(int fontSizeIndex) {
    fontSizeIndex_ = fontSizeIndex;
}

QTextCharFormat StyledLog::formatFor(quint32 color, bool bold, bool italic, bool underline) {
    const RunStyleKey key{color, bold, italic, underline, fontSizeIndex_};
    for (const auto& [known, format] : recentFormats_)
        if (known == key)
            return format;
    const QTextCharFormat format =
        charFormat(color, bold, italic, underline, fontSizeIndex_ * 2 + 8);
    recentFormats_[nextRecent_] = {key, format};
    nextRecent_ = (nextRecent_ + 1) % recentFormats_.size();
    return format;
}

void StyledLog::queue(const QString& text, quint32 color, bool bold, bool italic, bool underline) {
    QTextCharFormat format = formatFor(color, bold, italic, underline);
    const QString clean = normalizedBreaks(text);
    if (!pending_.empty() && pending_.back().format == format)
        pending_.back().text += clean;
    else
        pending_.push_back({clean, format});
    pendingChars_ += clean.size();
}

void StyledLog::Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                          const QString& sText, quint32 scolorNo, bool sFont1, bool sFont2,
                          bool sFont3) {
    if (!box_)
        return;
    if (!iText.isEmpty())
        queue(iText, colorNo, Font1, Font2, Font3);
    if (!sText.isEmpty())
        queue(sText, scolorNo, sFont1, sFont2, sFont3);
    if (pending_.empty())
        return;
    if (pendingChars_ >= kFlushThreshold)
        flush();
    else if (!flushTimer_.isActive())
        flushTimer_.start();
}

void StyledLog::Add_Color(const QString& label, const DisplayStyle& labelStyle, const QString& body,
                          const DisplayStyle& bodyStyle) {
    Add_Color(label, labelStyle.TextColor, labelStyle.IsBold, labelStyle.IsItalic,
              labelStyle.IsUnderline, body, bodyStyle.TextColor, bodyStyle.IsBold,
              bodyStyle.IsItalic, bodyStyle.IsUnderline);
}

void StyledLog::flush() {
    flushTimer_.stop();
    if (!box_ || pending_.empty())
        return;
    // Runs queued while these are written (from a document signal) wait for the next flush.
    const std::vector<Run> runs = std::exchange(pending_, {});
    pendingChars_ = 0;
    QTextCursor cursor(box_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const Run& run : runs)
        cursor.insertText(run.text, run.format);
    cursor.endEditBlock();

    // The caret goes to the end (which also drops the user's selection) and the view follows.
    cursor.movePosition(QTextCursor::End);
    box_->setTextCursor(cursor);
    box_->verticalScrollBar()->setValue(box_->verticalScrollBar()->maximum());
}

QTextDocument* StyledLog::document() {
    flush();
    return box_ ? box_->document() : nullptr;
}

std::vector<StyledRun> StyledLog::runs() {
    std::vector<StyledRun> result;
    QTextDocument* doc = document();
    if (!doc)
        return result;
    const int defaultSize = qRound(doc->defaultFont().pointSizeF());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            StyledRun run;
            run.text = fragment.text();
            run.color = bgrFromColor(format.foreground().color());
            run.bold = format.fontWeight() >= QFont::Bold;
            run.italic = format.fontItalic();
            run.underline = format.fontUnderline();
            run.pointSize =
                format.fontPointSize() > 0 ? qRound(format.fontPointSize()) : defaultSize;
            if (!result.empty() && result.back().sameStyle(run))
                result.back().text += run.text;
            else
                result.push_back(std::move(run));
        }
        if (block.next().isValid()) {
            if (result.empty())
                result.push_back(StyledRun{});
            result.back().text += u'\n';
        }
    }
    return result;
}

void StyledLog::replace(const std::vector<StyledRun>& runs) {
    clear();
    if (!box_)
        return;
    QTextCursor cursor(box_->document());
    cursor.beginEditBlock();
    for (const StyledRun& run : runs) {
        cursor.insertText(
            run.text, charFormat(run.color, run.bold, run.italic, run.underline, run.pointSize));
    }
    cursor.endEditBlock();
}

void StyledLog::replace(QString plainText) {
    clear();
    if (box_)
        box_->setPlainText(normalizedBreaks(std::move(plainText)));
}

void StyledLog::clear() {
    flushTimer_.stop();
    pending_.clear();
    pendingChars_ = 0;
    if (box_)
        box_->clear();
}

} // namespace kst
