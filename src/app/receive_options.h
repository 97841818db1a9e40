#pragma once

namespace kst {

class frmMain;

// The receive options of the log pane: "RX timer:" with its interval list,
// "Description", "Formatted view" and the RX notation.
class ReceiveOptions {
public:
    explicit ReceiveOptions(frmMain& window) : window_(window) {}

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    // The fixed receive delay becomes the number at the start of the chosen entry.
    void CbTimer_Click();
    // The notation of received data (a NotationCode); blocks already shown stay as they are.
    void Option2_Click(int Index);

private:
    frmMain& window_;
};

} // namespace kst
