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

MemoryRoom tighter(MemoryRoom a, MemoryRoom b) {
    return {std::min(a.total, b.total), std::min(a.free, b.free)};
}

constexpr MemoryRoom Unlimited{NoLimit, NoLimit};

MemoryRoom systemRoom(const MemoryFiles& files) {
    const QByteArray info = readAll(files.meminfo);
    return {field(info, "MemTotal:").value_or(NoLimit),
            field(info, "MemAvailable:").value_or(NoLimit)};
}

// The files of a memory control group, as each version of control groups names them.
struct GroupFiles {
    QString limit, usage;
    QByteArray reclaimable; // the page cache the group gives back when pressed
};

// What one group leaves: its limit less what it uses, its reclaimable cache aside.
MemoryRoom levelRoom(const QString& dir, const GroupFiles& f) {
    const qint64 limit = number(dir + f.limit);
    if (limit >= (qint64(1) << 60)) // "max", or the largest page-aligned number: no limit
        return Unlimited;
    const qint64 usage = number(dir + f.usage);
    if (usage == NoLimit)
        return Unlimited;
    const qint64 cache = field(readAll(dir + "/memory.stat"), f.reclaimable).value_or(0);
    return {limit, limit - usage + cache};
}

// A group's limit holds its children too: the tightest of the group and those above it,
// up to the hierarchy's root. A group the program cannot see (a container that shows
// its own group as the root) leaves the groups above it, the root included.
MemoryRoom hierarchyRoom(const QString& root, QString path, const GroupFiles& f) {
    MemoryRoom room = Unlimited;
    path.remove(QStringLiteral("..")); // no group lies outside the hierarchy
    while (path.endsWith(u'/'))
        path.chop(1);
    for (;;) {
        room = tighter(room, levelRoom(root + path, f));
        if (path.isEmpty())
            return room;
        path.truncate(path.lastIndexOf(u'/'));
    }
}

// A control group's limit, when the program runs under one (a container, a service).
// Each line of the program's list names a hierarchy: "0::path" the unified one (version
// 2), "N:controllers:path" one of version 1, the memory controller's among them.
MemoryRoom groupRoom(const MemoryFiles& files) {
    QString unifiedPath, memoryPath;
    for (const QByteArray& line : readAll(files.ownGroups).split('\n')) {
        const qsizetype first = line.indexOf(':');
        const qsizetype second = line.indexOf(':', first + 1);
        if (first < 0 || second < 0)
            continue;
        const QString path = QString::fromLocal8Bit(line.mid(second + 1));
        if (line.startsWith("0::"))
            unifiedPath = path;
        else if (line.mid(first + 1, second - first - 1).split(',').contains("memory"))
            memoryPath = path;
    }
    return tighter(hierarchyRoom(files.groupsRoot, unifiedPath,
                                 {"/memory.max", "/memory.current", "inactive_file "}),
                   hierarchyRoom(files.groupsRoot + "/memory", memoryPath,
                                 {"/memory.limit_in_bytes", "/memory.usage_in_bytes",
                                  "total_inactive_file "}));
}

} // namespace

MemoryRoom memoryRoom(const MemoryFiles& files) {
    return tighter(systemRoom(files), groupRoom(files));
}

bool memoryAllows(qsizetype bytes) {
    const MemoryRoom room = memoryRoom(MemoryFiles{});
    if (room.free == NoLimit)
        return true;
    const qint64 reserve = std::max<qint64>(256 * MiB, room.total == NoLimit ? 0 : room.total / 32);
    return room.free - bytes >= reserve;
}

} // namespace kst
