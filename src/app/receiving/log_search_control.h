#pragma once

#include "traffic/log_search.h"

namespace kst {

class MainView;

// The search in the log ("Search string:", Search, the result label) and the controls
// that depend on the log having text.
class LogSearchControl {
public:
    explicit LogSearchControl(MainView& window) : window_(window) {}

    // Every change of the log: Clear and the search field are there only for a log
    // with text, and a result shown no longer counts.
    void responseBox_Change();
    // The log's text changed at `from`: `removed` characters gone, `added` put in.
    void responseBox_ContentsChange(qint64 from, qint64 removed);
    void Text2_Change();
    // Enter (13) in the search field searches.
    void Text2_KeyPress(int keyAscii);
    // One search step: the next match is selected and highlighted, "String found: n/m"
    // numbers it among all matches; a text found nowhere is said so in a box.
    void cmdSearch_Click();

private:
    void highlight(qint64 position, qint64 length);

    MainView& window_;
    LogSearch search_;
};

} // namespace kst
