#pragma once

#include "comm_codes.h"
#include "comm_inbox.h"
#include "line_settings.h"
#include "serial_device.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

namespace kst::comm {

// One serial port as the program drives it (the program has two: MSComm1 and
// MSComm2). Properties are set and read on the user-interface thread, and every
// report of the line comes back there as the OnComm signal with its CommEvent,
// queued from the thread that watches the device.
//
// Behaviour a user can rely on:
// - CommPort, Settings, Handshaking, RTSEnable and DTREnable may be set while the
//   port is closed and take effect when it opens. Settings and Handshaking set on
//   an open port apply at once. Both output lines start off.
// - Opening raises (comm_codes.h): 8002 when CommPort has no device, 8005 when the
//   port is open already (here or in another program), 8010 when the device exists
//   but cannot be opened, 8015 when the line cannot run with the settings (4 data
//   bits, or settings the driver does not keep: a rate it cannot make within 2%, a
//   parity or handshake it ignores). A failed open leaves the port closed.
// - One receive event (2) follows whenever bytes have arrived since the last one
//   was delivered; Input() returns and removes every buffered byte. The buffer is
//   bounded; what does not fit is dropped and the overflow event (1008) says so.
// - A device that goes away while open is reported once by comEventPortLost;
//   PortOpen reads false from that delivery on. Bytes received before it can still
//   be taken with Input().
// - The holding properties read false, and Break does nothing, while the port is
//   closed; Output on a closed port raises 8018, and so does Output once the device
//   is known to have gone, before its loss has been delivered: no output vanishes
//   without a word.
class CommControl : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype DefaultInputCapacity = 16 << 20;

    // Ports as the links of the program folder's ports/ name them (ComPortMap).
    explicit CommControl(const QString& programDir, QObject* parent = nullptr);
    // Ports from the factory (tests hand in simulated lines).
    explicit CommControl(DeviceFactory factory, QObject* parent = nullptr,
                         qsizetype inputCapacity = DefaultInputCapacity);
    ~CommControl() override;

    // The factory of real devices behind the program folder's ports/ links.
    static DeviceFactory portsFolderDevices(const QString& programDir);
    // Where the port's devices come from from now on (tests hand in simulated lines).
    // Only while closed.
    void setDeviceFactory(DeviceFactory factory);

    int CommPort() const { return commPort_; }
    void setCommPort(int port);
    QString Settings() const { return SettingsText::format(settings_); }
    void setSettings(const QString& text);
    int Handshaking() const { return static_cast<int>(settings_.handshake); }
    void setHandshaking(int code);
    bool RTSEnable() const { return rts_; }
    void setRTSEnable(bool on);
    bool DTREnable() const { return dtr_; }
    void setDTREnable(bool on);
    bool Break() const { return break_; }
    // Nothing while the port is closed; raises 8010 when the driver refuses the break.
    void setBreak(bool on);
    bool PortOpen() const { return device_ != nullptr; }
    void setPortOpen(bool open);
    // Whether a device stands for COM `port`, found without opening it: a port held by
    // another program counts.
    bool portPresent(int port) const;

    bool CTSHolding() const { return lines().cts; }
    bool DSRHolding() const { return lines().dsr; }
    bool CDHolding() const { return lines().cd; }

    QByteArray Input() { return inbox_.takeBytes(); }
    void Output(const QByteArray& data);

    // The code of the event being delivered (the last one); 0 before the first.
    int CommEvent() const { return commEvent_; }

    // Received bytes dropped because the input buffer was full, since construction.
    qsizetype droppedInputBytes() const { return inbox_.droppedBytes(); }

signals:
    void OnComm();

private:
    class Sink;

    InputLines lines() const;
    void applySettings(const LineSettings& settings);
    void closeDevice();
    void report(int commEvent);
    void wake();
    void deliverNext();

    DeviceFactory factory_;
    CommInbox inbox_;
    std::unique_ptr<Sink> sink_;
    std::unique_ptr<SerialDevice> device_;
    int commPort_ = 1;
    LineSettings settings_;
    bool rts_ = false;
    bool dtr_ = false;
    bool break_ = false;
    int commEvent_ = 0;
};

} // namespace kst::comm
