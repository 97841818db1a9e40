#include "send_engine.h"

#include "notation/notation.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "traffic/send_parser.h"

#include <algorithm>

namespace kst {

namespace {

const QString CRLF = QStringLiteral("\r\n");
using Style = SendEnvironment::Style;

// Data to write: a command, or in ASCII control codes alone (the other notations send
// no control codes).
bool hasData(const SendAction& action, int txFormat) {
    return !action.command.isEmpty() || (txFormat == ncAscii && !action.controlCodes.isEmpty());
}

} // namespace

// One send from its check to its end. Every step after a wait is a scheduled call, so
// the send lives as an object between them; the engine owns it.
class SendEngine::Send : public std::enable_shared_from_this<SendEngine::Send> {
public:
    Send(SendEngine& engine, SendAction action, QString source, Done done)
        : engine_(engine), env_(engine.env_), action_(std::move(action)),
          source_(std::move(source)), done_(std::move(done)) {}

    Done takeDone() { return std::move(done_); }

    void start() {
        format_ = env_.txFormat();
        parsed_ = ParseSend(action_, format_, env_.formattedView());
        if (!parsed_.ok()) {
            // Nothing has gone out and nothing is logged.
            msgBox(RefusalMessage(parsed_, action_, format_), MsgIcon::Exclamation, MsgButtons::Ok,
                   QStringLiteral("Error:"));
            finish(SendOutcome::Refused);
            return;
        }
        headline();
        if (action_.delayMs > 0)
            wait(action_.delayMs, &Send::afterDelay);
        else
            afterDelay();
    }

    // Stop, or the port closed.
    void interrupt() {
        if (ended_)
            return;
        if (env_.description()) {
            env_.log(QStringLiteral("... Signal and command sending was interrupted") + CRLF + CRLF,
                     Style::Message);
        }
        finish(SendOutcome::Interrupted);
    }

    void endSilently() {
        if (!ended_)
            finish(SendOutcome::MacroEnded);
    }

private:
    // Read in the notation the send started in: control codes count only in ASCII.
    bool hasData() const { return kst::hasData(action_, format_); }

    void headline() {
        if (!env_.description())
            return;
        const QString delay = QString::number(action_.delayMs);
        QString text = engine_.macroRunning_ ? QString() : CRLF;
        text += u'[' + source_ + u']' + CRLF;
        if (!hasData() && action_.sendSignal) {
            text += engine_.macroRunning_
                        ? QStringLiteral("Sending signal (Signals: ") + SignalNameOf(action_) +
                              QStringLiteral(", Delay: ") + delay + QStringLiteral(" ms) ...")
                        : QStringLiteral("Sending signals (Delay: ") + delay +
                              QStringLiteral(" ms) ...");
        } else if (!hasData() && action_.delayMs > 0) {
            text += QStringLiteral("Delay: ") + delay + QStringLiteral(" ms ...");
        } else {
            text += QStringLiteral("Sending signals and commands (Signal: ") +
                    SignalNameOf(action_) + QStringLiteral(", Command: ") +
                    (action_.command.isEmpty() ? QStringLiteral("None,") : action_.command) +
                    QStringLiteral(" Delay: ") + delay + QStringLiteral(" ms, Repeat: ") +
                    QString::number(action_.repeat) + QStringLiteral(" x, Interval: ") +
                    QString::number(action_.intervalMs) + QStringLiteral(" ms) ...");
        }
        env_.log(text + CRLF, Style::Message);
    }

    void afterDelay() {
        // A pure delay ends after its wait, a signal-only send after its signal.
        if (!hasData() && !action_.sendSignal)
            return finish(SendOutcome::Completed);
        if (action_.sendSignal)
            performSignal();
        if (!hasData())
            return finish(SendOutcome::Completed);
        nextPass();
    }

    void performSignal() {
        auto line = [this](const QString& label, const QString& text) {
            env_.log(label, Style::Message, text + CRLF, Style::Sent);
        };
        const QString sent = QStringLiteral("Signal sent: ");
        const OutputSignal signal = action_.signal;
        if (signal == OutputSignal::PlaySound) {
            env_.beep();
            env_.log(QStringLiteral("Playing Sound"), Style::Message, CRLF, Style::Sent);
            return;
        }
        const SignalLines lines = linesOf(signal);
        if (!lines.rts && !lines.dtr)
            return;
        if (lines.rts) {
            env_.setRts(*lines.rts);
            // The two signals that turn RTS off with DTR have always been logged this way.
            const bool withDtr = lines.dtr.has_value();
            const QString label = !*lines.rts && withDtr ? QStringLiteral("Signal Sent: ") : sent;
            line(label,
                 *lines.rts ? QStringLiteral("RTS Turned ON") : QStringLiteral("RTS Turned OFF"));
        }
        if (lines.dtr) {
            env_.setDtr(*lines.dtr);
            line(sent,
                 *lines.dtr ? QStringLiteral("DTR Turned ON") : QStringLiteral("DTR Turned OFF"));
        }
        env_.linesChanged();
    }

    void nextPass() {
        if (pass_ > action_.repeat) {
            if (env_.description()) {
                env_.log(QStringLiteral("... Signal and command sending was completed") + CRLF +
                             CRLF,
                         Style::Message);
            }
            return finish(SendOutcome::Completed);
        }
        if (env_.mayTransmit()) {
            try {
                if (!parsed_.bytes.isEmpty())
                    env_.output(parsed_.bytes);
            } catch (const RunTimeError&) {
                ParsedSend failed;
                failed.refusal = ParsedSend::Refusal::Invalid;
                msgBox(RefusalMessage(failed, action_, env_.txFormat()), MsgIcon::Exclamation,
                       MsgButtons::Ok, QStringLiteral("Error:"));
                return finish(SendOutcome::Refused);
            }
            env_.log(QStringLiteral("Data sent: "), Style::Message, parsed_.echo + CRLF,
                     Style::Sent);
            env_.transmitting(true);
            if (env_.soundOnSend())
                env_.beep();
            engine_.lightTx();
        }
        env_.wrote();
        // The focus change may have run a check's box, and the port may have gone
        // meanwhile.
        if (ended_)
            return;
        ++pass_;
        // The interval follows every write, the last one too; without one the send still
        // returns to the event loop between writes.
        if (action_.intervalMs > 0 || pass_ <= action_.repeat)
            wait(std::max(0, action_.intervalMs), &Send::nextPass);
        else
            nextPass();
    }

    // The step holds the send while it runs; a send that ended before is gone.
    void wait(int ms, void (Send::*step)()) {
        wait_ = engine_.scheduler_.after(ms, [send = weak_from_this(), step] {
            if (const std::shared_ptr<Send> self = send.lock())
                ((*self).*step)();
        });
    }

    void finish(SendOutcome outcome) {
        // Once: a send stopped while its box was up has ended already.
        if (ended_)
            return;
        ended_ = true;
        wait_.cancel();
        engine_.finished(this, outcome);
    }

    SendEngine& engine_;
    SendEnvironment& env_;
    SendAction action_;
    QString source_;
    Done done_;
    int format_ = 0;
    ParsedSend parsed_;
    int pass_ = 0;
    bool ended_ = false;
    TimerHandle wait_;
};

SendEngine::SendEngine(SendEnvironment& environment, Scheduler& scheduler)
    : env_(environment), scheduler_(scheduler) {}

SendEngine::~SendEngine() = default;

void SendEngine::send(const SendAction& action, const QString& source, Done done) {
    // A closed (or monitored) port, or nothing to send, signal or wait for: nothing at all.
    if (!env_.mayTransmit() ||
        (!hasData(action, env_.txFormat()) && !action.sendSignal && action.delayMs <= 0)) {
        if (done)
            done(SendOutcome::NotSent);
        return;
    }
    const bool wasBusy = busy();
    const auto send = std::make_shared<Send>(*this, action, source, std::move(done));
    running_.push_back(send);
    busyMayHaveChanged(wasBusy);
    send->start();
}

int SendEngine::sendNotation() const {
    return env_.txFormat();
}

void SendEngine::stopAll() {
    endAll(&Send::interrupt);
    // A sequence between two of its sends hears it here; one whose send was just
    // interrupted has ended already.
    const std::vector<Sequence*> sequences = sequences_;
    for (Sequence* sequence : sequences) {
        if (std::find(sequences_.begin(), sequences_.end(), sequence) != sequences_.end())
            sequence->stopRequested();
    }
}

void SendEngine::beginSequence(Sequence* sequence) {
    const bool wasBusy = busy();
    sequences_.push_back(sequence);
    busyMayHaveChanged(wasBusy);
}

void SendEngine::endSequence(Sequence* sequence) {
    const bool wasBusy = busy();
    std::erase(sequences_, sequence);
    busyMayHaveChanged(wasBusy);
}

void SendEngine::busyMayHaveChanged(bool wasBusy) {
    if (busy() != wasBusy)
        env_.sendsRunning(busy());
}

void SendEngine::endForMacro() {
    endAll(&Send::endSilently);
}

void SendEngine::endAll(void (Send::*end)()) {
    // Each send leaves running_ as it ends: walk a copy, which also holds them.
    const std::vector<std::shared_ptr<Send>> sends = running_;
    for (const std::shared_ptr<Send>& send : sends)
        ((*send).*end)();
}

void SendEngine::finished(Send* send, SendOutcome outcome) {
    const auto it = std::find_if(running_.begin(), running_.end(),
                                 [send](const auto& running) { return running.get() == send; });
    if (it == running_.end())
        return;
    // The send is in one of its own calls, whose caller holds it too.
    const std::shared_ptr<Send> ending = *it;
    const bool wasBusy = busy();
    running_.erase(it);
    busyMayHaveChanged(wasBusy);
    if (Done done = send->takeDone())
        done(outcome);
}

void SendEngine::lightTx() {
    txLed_ = scheduler_.after(TxLedMs, [this] {
        if (env_.mayTransmit())
            env_.transmitting(false);
    });
}

} // namespace kst
