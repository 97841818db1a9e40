#pragma once

#include "platform/runtime_error.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kst::test {

// The error number a call raises, 0 when it raises none.
template <class F> int errorNumberOf(F&& call) {
    try {
        call();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace kst::test
