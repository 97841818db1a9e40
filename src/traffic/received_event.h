#pragma once

#include "traffic/line_events.h"

#include <QString>

namespace kst {

// The input lines of the primary port at one moment.
struct LineLevels {
    bool cts = false;
    bool dsr = false;
    bool cd = false;
};

// Reads the primary port's input lines as they are now. A rule or sub-routine that asks
// for a line tests it at the moment of the test: a line that changed back since its
// event fails.
class LineLevelsReader {
public:
    virtual ~LineLevelsReader() = default;
    virtual LineLevels levelsNow() const = 0;
};

// One thing the primary port received in Debugging / Simulating mode, as the engines
// compare it: a block, or a line event.
class ReceivedEvent {
public:
    // `text`: the block in the receive path's text form: the characters themselves in
    // ASCII notation, otherwise a hexadecimal byte list ("4F,4B,D,A,").
    static ReceivedEvent block(QString text, bool ringPending, const LineLevelsReader& lines) {
        return ReceivedEvent(std::move(text), LineEvent::None, ringPending, lines);
    }
    static ReceivedEvent lineEvent(LineEvent event, bool ringPending,
                                   const LineLevelsReader& lines) {
        return ReceivedEvent(QString(), event, ringPending, lines);
    }

    bool isLineEvent() const { return event_ != LineEvent::None; }
    // The block's text; empty for a line event.
    const QString& text() const { return text_; }
    // The line event; None for a block.
    LineEvent event() const { return event_; }
    // A ring was seen and its dispatch has not ended yet.
    bool ringPending() const { return ringPending_; }
    LineLevels levelsNow() const { return lines_->levelsNow(); }

private:
    ReceivedEvent(QString text, LineEvent event, bool ringPending, const LineLevelsReader& lines)
        : text_(std::move(text)), event_(event), ringPending_(ringPending), lines_(&lines) {}

    QString text_;
    LineEvent event_;
    bool ringPending_;
    const LineLevelsReader* lines_;
};

} // namespace kst
