#pragma once

#include "platform/runtime_error.h"
#include "support/fakes.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kst::test {

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace kst::test
