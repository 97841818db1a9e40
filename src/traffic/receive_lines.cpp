#include "receive_lines.h"

#include "elapsed_stamp.h"

namespace kst {

namespace {

const QString CRLF = QStringLiteral("\r\n");

} // namespace

void ReceiveLines::write(const QString& label, const QString& body, LogStyle style) {
    const QString head = bounded_.append(label);
    log_.write(head, bounded_.append(body), style);
}

void ReceiveLines::data(QString label, const QByteArray& block, LogStyle style,
                        const QString& end) {
    for (qsizetype at = 0; at < block.size(); at += SliceBytes) {
        QString body = text_(block.mid(at, SliceBytes));
        if (at + SliceBytes >= block.size())
            body += end;
        write(std::exchange(label, QString()), body, style);
    }
}

QString ReceiveLines::header(qint64 elapsedMs, const QString& source) const {
    return CRLF + ElapsedStamp(elapsedMs) + source;
}

void ReceiveLines::dataReceived(const QByteArray& block) {
    data(QStringLiteral("Data received: "), block, LogStyle::Rx1, CRLF);
}

void ReceiveLines::signalReceived(const QString& event) {
    write(QStringLiteral("Signal received: "), event + CRLF, LogStyle::Rx1);
}

void ReceiveLines::notice(const QString& text) {
    write(text + CRLF, QString(), LogStyle::Message);
}

void ReceiveLines::monitoredData(qint64 elapsedMs, const QByteArray& block) {
    const QString label =
        lastRxStamp_ == elapsedMs ? QString() : header(elapsedMs, QStringLiteral(" [RX]: "));
    data(label, block, LogStyle::Rx2, QString());
    lastRxStamp_ = elapsedMs;
}

void ReceiveLines::portData(qint64 elapsedMs, int commPort, const QByteArray& block,
                            LogStyle style) {
    const QString label = commPort == lastRxPort_
                              ? QString()
                              : header(elapsedMs, QStringLiteral(" [COM %1]: ").arg(commPort));
    data(label, block, style, QString());
    lastRxPort_ = commPort;
}

void ReceiveLines::lineEvent(qint64 elapsedMs, const QString& event) {
    write(header(elapsedMs, QStringLiteral(" [ LINE ]: ")), event, LogStyle::Rx1);
    lastRxPort_ = 0;
}

void ReceiveLines::reset() {
    lastRxStamp_.reset();
    lastRxPort_ = 0;
    bounded_.reset();
}

} // namespace kst
