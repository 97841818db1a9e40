#pragma once

#include "platform/scheduler.h"
#include "traffic/received_event.h"
#include "traffic/send_engine.h"

#include <QByteArray>
#include <QStringList>

namespace kst::test {

// A send engine's surroundings that write down what goes out and what is logged, on an
// open port whose input lines the test sets.
class RecordingSendEnvironment : public SendEnvironment, public LineLevelsReader {
public:
    bool mayTransmit() const override { return open; }
    void output(const QByteArray& bytes) override { line += bytes; }
    void setRts(bool on) override { rtsOn = on; }
    void setDtr(bool on) override { dtrOn = on; }
    int txFormat() const override { return format; }
    bool description() const override { return describe; }
    bool formattedView() const override { return false; }
    bool soundOnSend() const override { return false; }
    void log(const QString& label, Style, const QString& body, Style) override {
        logged << label + body;
    }
    void linesChanged() override {}
    void transmitting(bool) override {}
    void sendsRunning(bool) override {}
    void wrote() override {}
    void beep() override { ++beeps; }
    LineLevels levelsNow() const override { return lines; }

    // What went out since the last call.
    QByteArray taken() { return std::exchange(line, QByteArray()); }

    bool open = true;
    int format = 1;
    bool describe = false;
    bool rtsOn = false, dtrOn = false;
    LineLevels lines;
    QByteArray line;
    QStringList logged;
    int beeps = 0;
};

} // namespace kst::test
