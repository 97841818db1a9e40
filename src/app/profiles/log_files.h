#pragma once

namespace kst {

class MainView;
class Session;

// "Save Log..." and "Open Log...": the log as plain text or rich text.
class LogFiles {
public:
    LogFiles(Session& session, MainView& window) : session_(session), window_(window) {}

    void mnuSave_Click();
    void mnuOpenLog_Click();

private:
    Session& session_;
    MainView& window_;
};

} // namespace kst
