#pragma once

namespace kst {

class MainView;
class Session;

// The receive options of the log pane: "RX timer:" with its interval list,
// "Description", "Formatted view", the RX notation and Clear.
class ReceiveOptions {
public:
    // The fixed receive delays the timer takes.
    static constexpr int MinRxTimerMs = 10;
    static constexpr int MaxRxTimerMs = 10000;

    ReceiveOptions(Session& session, MainView& window) : session_(session), window_(window) {}

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    // The fixed receive delay becomes the number at the start of the chosen entry; a
    // text whose number is outside MinRxTimerMs..MaxRxTimerMs keeps the delay as it was.
    void CbTimer_Click();
    // The notation of received data (a NotationCode); blocks already shown stay as they are.
    void Option2_Click(int Index);
    // Empties the log.
    void Clear_Click();

private:
    Session& session_;
    MainView& window_;
};

} // namespace kst
