#pragma once

#include <memory>

namespace kst {

class LogLoader;
class MainView;
class Session;

// "Save Log..." and "Open Log...": the log as plain text or rich text.
class LogFiles {
public:
    LogFiles(Session& session, MainView& window);
    ~LogFiles();

    void mnuSave_Click();
    void mnuOpenLog_Click();

private:
    Session& session_;
    MainView& window_;
    std::unique_ptr<LogLoader> loader_;
};

} // namespace kst
