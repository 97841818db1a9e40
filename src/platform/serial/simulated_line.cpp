#include "simulated_line.h"

#include "comm_codes.h"

namespace kst::comm {

class SimulatedLine::Device : public SerialDevice {
public:
    explicit Device(SimulatedLine& line) : line_(line) {}
    ~Device() override { close(); }

    void open(const LineSettings& settings, bool rts, bool dtr, DeviceSink& sink) override {
        std::lock_guard lock(line_.mutex_);
        if (!line_.plugged_)
            throw commError(err::InvalidPortNumber);
        if (line_.openError_ != 0)
            throw commError(line_.openError_);
        if (line_.open_)
            throw commError(err::PortAlreadyOpen);
        line_.open_ = true;
        opened_ = true;
        line_.sink_ = &sink;
        line_.settings_ = settings;
        line_.record({Action::Open, {}, false});
        setDtr(dtr);
        setRts(rts);
    }

    void close() override {
        std::lock_guard lock(line_.mutex_);
        if (!opened_)
            return;
        opened_ = false;
        line_.open_ = false;
        line_.sink_ = nullptr;
        line_.break_ = false;
        line_.record({Action::Close, {}, false});
    }

    void configure(const LineSettings& settings) override {
        std::lock_guard lock(line_.mutex_);
        line_.settings_ = settings;
        line_.record({Action::Configure, {}, false});
    }

    WriteResult write(const QByteArray& data) override {
        std::lock_guard lock(line_.mutex_);
        if (!line_.plugged_)
            return WriteResult::Lost;
        if (line_.outputFull_)
            return WriteResult::Full;
        line_.written_.append(data);
        line_.record({Action::Write, data, false});
        return WriteResult::Queued;
    }

    void setRts(bool on) override { set(&SimulatedLine::rts_, Action::Rts, on); }
    void setDtr(bool on) override { set(&SimulatedLine::dtr_, Action::Dtr, on); }
    bool setBreak(bool on, QString* why) override {
        std::lock_guard lock(line_.mutex_);
        if (line_.breakRefused_) {
            if (why)
                *why = QStringLiteral("the line takes no break");
            return false;
        }
        set(&SimulatedLine::break_, Action::Break, on);
        return true;
    }

    InputLines inputLines() override {
        std::lock_guard lock(line_.mutex_);
        return line_.lines_;
    }

    bool present() const override {
        std::lock_guard lock(line_.mutex_);
        return line_.plugged_;
    }

private:
    void set(bool SimulatedLine::*state, Action::Kind kind, bool on) {
        std::lock_guard lock(line_.mutex_);
        line_.*state = on;
        line_.record({kind, {}, on});
    }

    SimulatedLine& line_;
    bool opened_ = false;
};

DeviceFactory SimulatedLine::factory(const QMap<int, SimulatedLine*>& lines) {
    return [lines](int port) {
        SimulatedLine* line = lines.value(port);
        if (!line)
            throw commError(err::InvalidPortNumber);
        return line->makeDevice();
    };
}

std::unique_ptr<SerialDevice> SimulatedLine::makeDevice() {
    return std::make_unique<Device>(*this);
}

void SimulatedLine::record(Action action) {
    actions_.append(std::move(action));
}

QList<SimulatedLine::Action> SimulatedLine::actions() const {
    std::lock_guard lock(mutex_);
    return actions_;
}

void SimulatedLine::clearActions() {
    std::lock_guard lock(mutex_);
    actions_.clear();
    written_.clear();
}

QByteArray SimulatedLine::written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

bool SimulatedLine::isOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

LineSettings SimulatedLine::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

bool SimulatedLine::rts() const {
    std::lock_guard lock(mutex_);
    return rts_;
}

bool SimulatedLine::dtr() const {
    std::lock_guard lock(mutex_);
    return dtr_;
}

bool SimulatedLine::breakOn() const {
    std::lock_guard lock(mutex_);
    return break_;
}

void SimulatedLine::deliver(const QByteArray& bytes) {
    std::lock_guard lock(mutex_);
    if (sink_ && !bytes.isEmpty())
        sink_->received(bytes.constData(), bytes.size());
}

void SimulatedLine::changeLine(bool InputLines::*line, bool on, int commEvent) {
    std::lock_guard lock(mutex_);
    if (lines_.*line == on)
        return;
    lines_.*line = on;
    if (sink_)
        sink_->event(commEvent);
}

void SimulatedLine::setCts(bool on) {
    changeLine(&InputLines::cts, on, comEvCTS);
}
void SimulatedLine::setDsr(bool on) {
    changeLine(&InputLines::dsr, on, comEvDSR);
}
void SimulatedLine::setCd(bool on) {
    changeLine(&InputLines::cd, on, comEvCD);
}

void SimulatedLine::ring() {
    raise(comEvRing);
}

void SimulatedLine::raise(int commEvent) {
    std::lock_guard lock(mutex_);
    if (sink_)
        sink_->event(commEvent);
}

void SimulatedLine::unplug() {
    std::lock_guard lock(mutex_);
    plugged_ = false;
    if (sink_)
        sink_->lost();
    sink_ = nullptr;
}

void SimulatedLine::plugIn() {
    std::lock_guard lock(mutex_);
    plugged_ = true;
}

void SimulatedLine::setOutputFull(bool full) {
    std::lock_guard lock(mutex_);
    outputFull_ = full;
}

void SimulatedLine::setBreakRefused(bool refused) {
    std::lock_guard lock(mutex_);
    breakRefused_ = refused;
}

void SimulatedLine::setOpenError(int number) {
    std::lock_guard lock(mutex_);
    openError_ = number;
}

} // namespace kst::comm
