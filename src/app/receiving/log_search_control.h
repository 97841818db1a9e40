#pragma once

#include "platform/scheduler.h"
#include "traffic/log_search.h"

namespace kst {

class MainView;

// The search in the log ("Search string:", Search, the result label) and the controls
// that depend on the log having text.
class LogSearchControl {
public:
    // How a step reads a large log: `sliceChars` at a time, as many as `sliceMs` allows,
    // before the window's events are handled again.
    struct Pace {
        qint64 sliceChars = qint64(4) << 20;
        int sliceMs = 12;
    };

    LogSearchControl(MainView& window, Scheduler& scheduler, Pace pace);
    LogSearchControl(MainView& window, Scheduler& scheduler)
        : LogSearchControl(window, scheduler, Pace{}) {}
    void setPace(Pace pace) { pace_ = pace; }

    // Every change of the log: Clear and the search field are there only for a log
    // with text, and a result shown no longer counts.
    void responseBox_Change();
    // The log's text changed at `from`: `removed` characters gone, `added` put in.
    void responseBox_ContentsChange(qint64 from, qint64 removed);
    void Text2_Change();
    // Enter (13) in the search field searches.
    void Text2_KeyPress(int keyAscii);
    // One search step: the next match is selected and highlighted, "String found: n/m"
    // numbers it among all matches; a text found nowhere is said so in a box. On a large
    // log the step goes on in slices: the match shows as soon as it is found, the label
    // when the whole log is counted.
    void cmdSearch_Click();

private:
    void work();
    void highlight(qint64 position, qint64 length);
    // A result no longer shown is no longer there either, for a reader of the window as
    // for the eye: the next result never shows the last one first.
    void hideResult();

    MainView& window_;
    Scheduler& scheduler_;
    Pace pace_;
    LogSearch search_;
    TimerHandle next_;
    // The match the step under way shows.
    qint64 shown_ = -1;
    // The log's count of the user's caret placings at the last step.
    quint64 placementsSeen_ = 0;
};

} // namespace kst
