#include "notation/view/memory_check.h"

#include "support/fakes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

using namespace kst;
using kst::test::writeFile;

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 GiB = 1024 * MiB;
constexpr qint64 NoLimit = std::numeric_limits<qint64>::max();

QByteArray bytes(qint64 value) {
    return QByteArray::number(value) + '\n';
}

// The files of one group, version 2 or version 1, under `dir` of the fake cgroup tree.
std::vector<std::pair<QString, QByteArray>> v2Group(const QString& dir, QByteArray max,
                                                    qint64 current, qint64 inactive = 0) {
    return {{dir + "/memory.max", max + '\n'},
            {dir + "/memory.current", bytes(current)},
            {dir + "/memory.stat", "anon 1\ninactive_file " + bytes(inactive) + "file 9\n"}};
}
std::vector<std::pair<QString, QByteArray>> v1Group(const QString& dir, qint64 limit, qint64 usage,
                                                    qint64 inactive = 0) {
    const QString at = "memory" + dir;
    return {{at + "/memory.limit_in_bytes", bytes(limit)},
            {at + "/memory.usage_in_bytes", bytes(usage)},
            {at + "/memory.stat",
             "inactive_file 5\ntotal_inactive_file " + bytes(inactive) + "hierarchical_x 1\n"}};
}

} // namespace

TEST(MemoryCheck, TheProgramsOwnControlGroupLimitsItUnderEitherVersion) {
    // A version 1 hierarchy without a limit writes the largest page-aligned number.
    constexpr qint64 V1NoLimit = 9223372036854771712;
    struct Case {
        const char* what;
        QByteArray ownGroups; // /proc/self/cgroup; empty: none
        std::vector<std::vector<std::pair<QString, QByteArray>>> groups;
        qint64 total, free;
    };
    const std::vector<Case> cases = {
        {"no control groups: the system's memory", "", {}, 16 * GiB, 8 * GiB},
        {"version 2, the own group limited, its cache given back",
         "0::/user.slice/app.scope\n",
         {v2Group("/user.slice/app.scope", "1073741824", 700 * MiB, 100 * MiB),
          v2Group("/user.slice", "max", 3 * GiB)},
         1 * GiB,
         424 * MiB},
        {"version 2, only a group above limited",
         "0::/user.slice/app.scope\n",
         {v2Group("/user.slice/app.scope", "max", 100 * MiB),
          v2Group("/user.slice", bytes(2 * GiB).trimmed(), 1536 * MiB)},
         2 * GiB,
         512 * MiB},
        {"version 2 in a container that shows its group as the root",
         "0::/\n",
         {v2Group("", bytes(512 * MiB).trimmed(), 128 * MiB)},
         512 * MiB,
         384 * MiB},
        {"version 1: the memory controller's own group",
         "12:pids:/x\n4:memory:/process_api/abc\n3:cpu,cpuacct:/other\n1:name=systemd:/\n",
         {v1Group("/process_api/abc", 1 * GiB, 400 * MiB, 24 * MiB),
          v1Group("/process_api", V1NoLimit, 5 * GiB), v1Group("", V1NoLimit, 9 * GiB)},
         1 * GiB,
         648 * MiB},
        {"version 1, the tighter of the own group and the one above",
         "4:memory:/process_api/abc\n",
         {v1Group("/process_api/abc", 2 * GiB, 1 * GiB),
          v1Group("/process_api", 1536 * MiB, 1229 * MiB)},
         1536 * MiB,
         307 * MiB},
        {"version 1 in a container that cannot see its own group's folder",
         "4:memory:/docker/0123abcd\n",
         {v1Group("", 768 * MiB, 256 * MiB)},
         768 * MiB,
         512 * MiB},
        {"version 1 with the memory controller beside others",
         "7:cpu,memory:/svc\n",
         {v1Group("/svc", 1 * GiB, 1 * GiB)},
         1 * GiB,
         0},
        {"hybrid: the unified hierarchy holds no controllers, version 1 the memory",
         "0::/user.slice/app.scope\n4:memory:/user.slice/app.scope\n",
         {{{"unified/user.slice/app.scope/cgroup.procs", "1\n"}},
          v1Group("/user.slice/app.scope", 3 * GiB, 1 * GiB),
          v1Group("", V1NoLimit, 10 * GiB)},
         3 * GiB,
         2 * GiB},
        {"a group above the system's memory: the system's",
         "0::/big\n",
         {v2Group("/big", bytes(64 * GiB).trimmed(), 1 * GiB)},
         16 * GiB,
         8 * GiB},
        {"a path that climbs out of the hierarchy stays in it",
         "0::/../../limited\n",
         {v2Group("/limited", bytes(1 * GiB).trimmed(), 0)},
         1 * GiB,
         1 * GiB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        MemoryFiles files{dir.filePath("meminfo"), dir.filePath("cgroup"), dir.filePath("fs")};
        writeFile(files.meminfo, "MemTotal:       16777216 kB\nMemFree:  1 kB\n"
                                 "MemAvailable:    8388608 kB\n");
        if (!c.ownGroups.isEmpty())
            writeFile(files.ownGroups, c.ownGroups);
        for (const auto& group : c.groups) {
            for (const auto& [path, content] : group) {
                const QString full = files.groupsRoot + '/' + path;
                ASSERT_TRUE(QDir().mkpath(QFileInfo(full).path()));
                writeFile(full, content);
            }
        }
        const MemoryRoom room = memoryRoom(files);
        EXPECT_EQ(room.total / MiB, c.total / MiB);
        EXPECT_EQ(room.free / MiB, c.free / MiB);
    }

    QTemporaryDir empty;
    const MemoryRoom none = memoryRoom({empty.filePath("a"), empty.filePath("b"), empty.path()});
    EXPECT_EQ(none.total, NoLimit) << "nothing to read: nothing limits";
    EXPECT_EQ(none.free, NoLimit);
}
