#pragma once

#include "traffic/send_engine.h"

namespace kst {

class MainView;
class PortControl;
class Session;

// The send engine's view of the main window: the primary port, the options a send reads,
// and the log, LEDs, status panel and Stop button it shows itself in.
class SendView : public SendEnvironment {
public:
    SendView(Session& session, MainView& window, PortControl& port)
        : session_(session), window_(window), port_(port) {}

    bool mayTransmit() const override;
    void output(const QByteArray& bytes) override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    int txFormat() const override;
    bool description() const override;
    bool formattedView() const override;
    bool soundOnSend() const override;
    void log(const QString& label, Style labelStyle, const QString& body, Style bodyStyle) override;
    void linesChanged() override;
    void transmitting(bool busy) override;
    void sendsRunning(bool any) override;
    void wrote() override;
    void beep() override;

private:
    Session& session_;
    MainView& window_;
    PortControl& port_;
};

} // namespace kst
