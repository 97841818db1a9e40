#pragma once

namespace kst {

class frmMain;

// The receive options of the log pane: "RX timer:" with its interval list,
// "Description" and "Formatted view".
class ReceiveOptions {
public:
    explicit ReceiveOptions(frmMain& window) : window_(window) {}

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    // The fixed receive delay becomes the number at the start of the chosen entry.
    void CbTimer_Click();

private:
    frmMain& window_;
};

} // namespace kst
