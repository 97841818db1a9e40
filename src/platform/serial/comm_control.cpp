#include "comm_control.h"

#include "com_port_map.h"
#include "posix_serial_device.h"

namespace kst::comm {

// Takes the device's reports on its thread and wakes the control on its own.
class CommControl::Sink : public DeviceSink {
public:
    explicit Sink(CommControl& control) : control_(control) {}

    void received(const char* data, qsizetype size) override {
        if (control_.inbox_.addBytes(data, size))
            control_.wake();
    }
    void event(int commEvent) override { control_.report(commEvent); }
    void lost() override { event(comEventPortLost); }

private:
    CommControl& control_;
};

CommControl::CommControl(const QString& programDir, QObject* parent)
    : CommControl(portsFolderDevices(programDir), parent) {}

CommControl::CommControl(DeviceFactory factory, QObject* parent, qsizetype inputCapacity)
    : QObject(parent), factory_(std::move(factory)), inbox_(inputCapacity),
      sink_(std::make_unique<Sink>(*this)) {}

CommControl::~CommControl() {
    closeDevice();
}

DeviceFactory CommControl::portsFolderDevices(const QString& programDir) {
    return [map = ComPortMap(programDir)](int port) -> std::unique_ptr<SerialDevice> {
        const QString path = map.devicePath(port);
        if (path.isEmpty())
            throw commError(err::InvalidPortNumber, QString("COM%1").arg(port));
        return std::make_unique<PosixSerialDevice>(path);
    };
}

void CommControl::setDeviceFactory(DeviceFactory factory) {
    if (PortOpen())
        throw commError(err::PortAlreadyOpen);
    factory_ = std::move(factory);
}

void CommControl::setCommPort(int port) {
    if (port < ComPortMap::FirstPort || port > ComPortMap::LastPort)
        throw commError(err::InvalidPortNumber);
    if (PortOpen())
        throw commError(err::PortAlreadyOpen);
    commPort_ = port;
}

void CommControl::setSettings(const QString& text) {
    const auto parsed = SettingsText::parse(text, settings_);
    if (!parsed)
        throw commError(err::InvalidPropertyValue, text);
    applySettings(*parsed);
}

void CommControl::setHandshaking(int code) {
    if (code < 0 || code > 3)
        throw commError(err::InvalidPropertyValue);
    LineSettings changed = settings_;
    changed.handshake = static_cast<Handshake>(code);
    applySettings(changed);
}

void CommControl::applySettings(const LineSettings& settings) {
    if (PortOpen()) {
        if (const QString why = unsupportedReason(settings); !why.isEmpty())
            throw commError(err::CommStateInvalid, why);
        device_->configure(settings);
    }
    settings_ = settings;
}

void CommControl::setRTSEnable(bool on) {
    rts_ = on;
    if (device_)
        device_->setRts(on);
}

void CommControl::setDTREnable(bool on) {
    dtr_ = on;
    if (device_)
        device_->setDtr(on);
}

void CommControl::setBreak(bool on) {
    if (!device_)
        return;
    QString why;
    if (!device_->setBreak(on, &why))
        throw commError(err::HardwareNotAvailable, "break: " + why);
    break_ = on;
}

bool CommControl::portPresent(int port) const {
    if (port < ComPortMap::FirstPort || port > ComPortMap::LastPort)
        return false;
    if (PortOpen() && port == commPort_)
        return true;
    try {
        return factory_(port)->present();
    } catch (const RunTimeError&) {
        return false;
    }
}

void CommControl::setPortOpen(bool open) {
    if (!open) {
        closeDevice();
        inbox_.clear();
        return;
    }
    if (PortOpen())
        throw commError(err::PortAlreadyOpen);
    if (const QString why = unsupportedReason(settings_); !why.isEmpty())
        throw commError(err::CommStateInvalid, why);
    std::unique_ptr<SerialDevice> device = factory_(commPort_);
    inbox_.clear();
    device->open(settings_, rts_, dtr_, *sink_);
    device_ = std::move(device);
}

void CommControl::closeDevice() {
    if (device_) {
        device_->close();
        device_.reset();
    }
    break_ = false;
}

InputLines CommControl::lines() const {
    return device_ ? device_->inputLines() : InputLines{};
}

void CommControl::Output(const QByteArray& data) {
    if (!device_)
        throw commError(err::PortNotOpen);
    switch (device_->write(data)) {
    case WriteResult::Queued:
        break;
    case WriteResult::Full:
        report(comEventTxFull);
        break;
    case WriteResult::Lost:
        // The loss event is on its way and closes the port; until then the port
        // still reads open, but what it is given can no longer go anywhere.
        throw commError(err::PortNotOpen, "the device has gone");
    }
}

void CommControl::report(int commEvent) {
    if (inbox_.addEvent(commEvent))
        wake();
}

void CommControl::wake() {
    QMetaObject::invokeMethod(this, &CommControl::deliverNext, Qt::QueuedConnection);
}

void CommControl::deliverNext() {
    const auto taken = inbox_.takeEvent();
    if (!taken)
        return;
    // One event per pass of the event loop, so a handler that waits by processing
    // events sees the next one in order, nested, as it would any other event.
    if (taken->more)
        wake();
    if (taken->commEvent == comEventPortLost)
        closeDevice(); // the bytes already received stay for Input()
    commEvent_ = taken->commEvent;
    emit OnComm();
}

} // namespace kst::comm
