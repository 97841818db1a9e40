#include "memory_check.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <algorithm>
#include <limits>
#include <optional>

namespace kst {

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 NoLimit = std::numeric_limits<qint64>::max();

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after "name" in a file of "name value" lines (kB in /proc/meminfo).
std::optional<qint64> field(const QByteArray& text, const QByteArray& name) {
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith(name))
            continue;
        const QList<QByteArray> words = line.mid(name.size()).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        if (ok)
            return line.endsWith("kB") ? value * 1024 : value;
    }
    return std::nullopt;
}

qint64 number(const QString& path) {
    bool ok = false;
    const qint64 value = readAll(path).trimmed().toLongLong(&ok);
    return ok ? value : NoLimit;
}

struct Room {
    qint64 total = NoLimit;
    qint64 free = NoLimit;
};

Room systemRoom() {
    const QByteArray info = readAll(QStringLiteral("/proc/meminfo"));
    return {field(info, "MemTotal:").value_or(NoLimit),
            field(info, "MemAvailable:").value_or(NoLimit)};
}

// A control group's limit, when the program runs under one (a container, a service).
Room groupRoom() {
    QString path = QStringLiteral("/sys/fs/cgroup");
    for (const QByteArray& line : readAll(QStringLiteral("/proc/self/cgroup")).split('\n'))
        if (line.startsWith("0::"))
            path += QString::fromLocal8Bit(line.mid(3)).remove(QStringLiteral(".."));
    struct Files {
        QString limit, usage, stat;
        QByteArray reclaimable;
    };
    for (const Files& f : {Files{path + "/memory.max", path + "/memory.current",
                                 path + "/memory.stat", "inactive_file "},
                           Files{"/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current",
                                 "/sys/fs/cgroup/memory.stat", "inactive_file "},
                           Files{"/sys/fs/cgroup/memory/memory.limit_in_bytes",
                                 "/sys/fs/cgroup/memory/memory.usage_in_bytes",
                                 "/sys/fs/cgroup/memory/memory.stat", "total_inactive_file "}}) {
        const qint64 limit = number(f.limit);
        if (limit >= (qint64(1) << 60))
            continue;
        const qint64 usage = number(f.usage);
        if (usage == NoLimit)
            continue;
        const qint64 cache = field(readAll(f.stat), f.reclaimable).value_or(0);
        return {limit, limit - usage + cache};
    }
    return {};
}

} // namespace

bool memoryAllows(qsizetype bytes) {
    const Room system = systemRoom();
    const Room group = groupRoom();
    const qint64 total = std::min(system.total, group.total);
    const qint64 free = std::min(system.free, group.free);
    if (free == NoLimit)
        return true;
    const qint64 reserve = std::max<qint64>(256 * MiB, total == NoLimit ? 0 : total / 32);
    return free - bytes >= reserve;
}

} // namespace kst
