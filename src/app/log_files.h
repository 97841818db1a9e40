#pragma once

#include <memory>

namespace kst {

class frmMain;
class LogLoader;

// "Save Log..." and "Open Log...": the log as plain text or rich text.
class LogFiles {
public:
    explicit LogFiles(frmMain& window);
    ~LogFiles();

    void mnuSave_Click();
    void mnuOpenLog_Click();

private:
    frmMain& window_;
    std::unique_ptr<LogLoader> loader_;
};

} // namespace kst
