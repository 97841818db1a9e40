#pragma once

#include "bounded_lines.h"
#include "receive_log.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace kst {

// The receive side's lines in the log. Debugging / Simulating mode writes whole lines
// ("Data received: ", "Signal received: "). Monitoring writes stamped lines that later
// data of the same source continues: in half duplex what arrives within the same
// millisecond count as the last block, in full duplex whatever comes from the port
// written last. Every line is kept to BoundedLines::MaxLineChars, and a block is written
// a slice at a time, so a large one never stands in memory as one text.
class ReceiveLines {
public:
    // How received bytes read in the log (the notation and view of the moment).
    using Text = std::function<QString(const QByteArray&)>;
    // The bytes of a block that are turned into text and written at a time.
    static constexpr qsizetype SliceBytes = 16 * 1024;

    // `lastRxPort`: the COM number written last in full duplex, 0 for none; the port
    // control resets it as well.
    ReceiveLines(ReceiveLog& log, int& lastRxPort, Text text)
        : log_(log), lastRxPort_(lastRxPort), text_(std::move(text)) {}

    void dataReceived(const QByteArray& block);
    void signalReceived(const QString& event);
    // A line of its own in the system-message style ("Attention: ...").
    void notice(const QString& text);

    // Half duplex: a block of the one port, `elapsedMs` after the port opened.
    void monitoredData(qint64 elapsedMs, const QByteArray& block);
    // Full duplex: a block of the port `commPort`, written in `style`.
    void portData(qint64 elapsedMs, int commPort, const QByteArray& block, LogStyle style);
    // Full duplex: a line event; the next data of either port starts a new line.
    void lineEvent(qint64 elapsedMs, const QString& event);

    // A new port session: nothing continues a line of the previous one.
    void reset();

private:
    void write(const QString& label, const QString& body, LogStyle style);
    void data(QString label, const QByteArray& block, LogStyle style, const QString& end);
    QString header(qint64 elapsedMs, const QString& source) const;

    ReceiveLog& log_;
    int& lastRxPort_;
    Text text_;
    std::optional<qint64> lastRxStamp_;
    BoundedLines bounded_;
};

} // namespace kst
