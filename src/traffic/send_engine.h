#pragma once

#include "notation/display_style.h"
#include "platform/scheduler.h"
#include "traffic/send_action.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace kst {

// What the send engine needs of the program around it: the primary port, the settings
// a send reads as it goes, and where its lines, LEDs and buttons show. The main window
// implements it; tests put a recorder in its place.
class SendEnvironment {
public:
    virtual ~SendEnvironment() = default;

    // The port. A send writes only while it is open and talks: never on a monitored
    // line. output() raises a RunTimeError when the port refuses the bytes.
    virtual bool mayTransmit() const = 0;
    virtual void output(const QByteArray& bytes) = 0;
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;

    // Read as the send goes: the send notation (0 Dec .. 4 ASCII), the description and
    // formatted-view options, and the sound on sending.
    virtual int txFormat() const = 0;
    virtual bool description() const = 0;
    virtual bool formattedView() const = 0;
    virtual bool soundOnSend() const = 0;

    // What shows.
    enum class Style { Message, Sent };
    virtual void log(const QString& label, Style labelStyle, const QString& body = QString(),
                     Style bodyStyle = Style::Sent) = 0;
    // The line LEDs after RTS or DTR changed.
    virtual void linesChanged() = 0;
    // Bytes went out (TX LED on, "Sending data ...") or the line is quiet again.
    virtual void transmitting(bool busy) = 0;
    // Whether any send runs (the Stop button).
    virtual void sendsRunning(bool any) = 0;
    // After each write the command box takes the focus back.
    virtual void wrote() = 0;
    virtual void beep() = 0;
};

// How a send ended.
enum class SendOutcome {
    NotSent,     // the port was closed, or there was nothing to do
    Completed,   // every write done (or a signal-only or delay-only send ended)
    Interrupted, // Stop, or the port closed, during the send
    MacroEnded,  // a macro pause or stop ended it without a word
    Refused,     // its command, control codes or times were refused with a message
};

// The one sender of the program. A send checks its command first (nothing is written
// when it is refused), then waits its delay, sets its signal, and writes its data
// repeat + 1 times with its interval after each write. Sends never block: every wait is
// a scheduled call, and passes without an interval still return to the event loop
// between writes, so Stop and the window stay live. A send started while others wait
// runs beside them with its own timers; Stop ends them all.
class SendEngine {
public:
    using Done = std::function<void(SendOutcome)>;
    // Work that runs sends one after another (a chain of buttons). While one runs it
    // counts as sending, so Stop stays live between its sends too; Stop or a closing
    // port tells it to end.
    class Sequence {
    public:
        virtual ~Sequence() = default;
        virtual void stopRequested() = 0;
    };
    // The TX LED stays lit this long after the last write.
    static constexpr int TxLedMs = 20;

    SendEngine(SendEnvironment& environment, Scheduler& scheduler);
    ~SendEngine();
    SendEngine(const SendEngine&) = delete;
    SendEngine& operator=(const SendEngine&) = delete;

    // Starts a send; `done` hears how it ended (at once when it never starts).
    void send(const SendAction& action, const QString& source, Done done = {});
    // Stop, or the port closed: every running send ends as interrupted.
    void stopAll();
    // A macro pause or stop: every running send ends at once, writing nothing more.
    void endForMacro();
    // While a macro's steps play, a send's headline follows the run's lines without a
    // blank line of its own.
    void setMacroRunning(bool running) { macroRunning_ = running; }
    // The notation the sends are read in now (0 Dec .. 4 ASCII).
    int sendNotation() const;
    bool busy() const { return !running_.empty() || !sequences_.empty(); }

    // A sequence is registered from its start to its end.
    void beginSequence(Sequence* sequence);
    void endSequence(Sequence* sequence);

private:
    class Send;
    friend class Send;

    void endAll(void (Send::*end)());
    void finished(Send* send, SendOutcome outcome);
    void lightTx();
    void busyMayHaveChanged(bool wasBusy);

    SendEnvironment& env_;
    Scheduler& scheduler_;
    // A send is shared with whatever runs one of its calls (its scheduled step, the start,
    // Stop), so one that ends inside a call of its own, or while a box of its own runs
    // the event loop, lives until that call has returned.
    std::vector<std::shared_ptr<Send>> running_;
    std::vector<Sequence*> sequences_;
    TimerHandle txLed_;
    bool macroRunning_ = false;
};

} // namespace kst
