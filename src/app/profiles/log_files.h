#pragma once

namespace kst {

class frmMain;

// "Save Log..." and "Open Log...": the log as plain text or rich text.
class LogFiles {
public:
    explicit LogFiles(frmMain& window) : window_(window) {}

    void mnuSave_Click();
    void mnuOpenLog_Click();

private:
    frmMain& window_;
};

} // namespace kst
