#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kst {

class LogStore;

// The log as a rich-text document, handed to `write` a piece at a time (about a
// megabyte each): runs of one style are joined, and the log is never held whole twice.
void WriteLogRtf(const LogStore& log, const QString& fontName,
                 const std::function<void(QByteArrayView)>& write);

// The same as one document (a copy for the clipboard).
QByteArray LogRtf(const LogStore& log, const QString& fontName);

} // namespace kst
