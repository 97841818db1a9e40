#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// Whether `bytes` more can be taken without pressing the machine: the memory the system
// (or the control group the program runs in) still has to give, less a reserve that
// keeps the program and the desktop working. A log that grows for days asks this before
// each piece it takes, and stops growing, with a message, instead of being killed.
bool memoryAllows(qsizetype bytes);

// Where the system tells of its memory and of the program's control groups.
struct MemoryFiles {
    QString meminfo = QStringLiteral("/proc/meminfo");
    QString ownGroups = QStringLiteral("/proc/self/cgroup");
    QString groupsRoot = QStringLiteral("/sys/fs/cgroup");
};

// The memory there is and what is left of it, in bytes: the tightest of the system's
// and of each control group that holds the program (its own and those above it, under
// either version of control groups). A figure nothing limits is the largest qint64.
struct MemoryRoom {
    qint64 total;
    qint64 free;
};
MemoryRoom memoryRoom(const MemoryFiles& files);

} // namespace kst
