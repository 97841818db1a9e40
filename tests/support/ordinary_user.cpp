#include "ordinary_user.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kst::test {

namespace {

bool handOver(const QString& path, uid_t uid, gid_t gid) {
    return ::lchown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

// Everything under `root`, and `root` itself, now belongs to the user.
bool handOverTree(const QString& root, uid_t uid, gid_t gid) {
    bool ok = handOver(root, uid, gid);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = handOver(it.next(), uid, gid) && ok;
    return ok;
}

// The first folder above `path` that other users cannot pass through, or nothing.
QString closedFolderAbove(const QString& path) {
    for (QDir dir = QFileInfo(path).absoluteDir(); !dir.isRoot(); dir.cdUp()) {
        if (!QFileInfo(dir.path()).permission(QFile::ExeOther))
            return dir.path();
    }
    return QString();
}

// How many results the running test has recorded so far.
int resultsSoFar() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

bool failedSince(int first) {
    const ::testing::TestResult* result =
        ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = first; i < result->total_part_count(); ++i) {
        if (result->GetTestPartResult(i).failed())
            return true;
    }
    return false;
}

// In the child: becomes the user for good (no way back to root), runs the part, and
// ends with 0 when the part recorded no failure. Never returns.
[[noreturn]] void runAsUser(const passwd& user, const std::function<void()>& part) {
    const int first = resultsSoFar();
    int code = 0;
    if (::setgroups(0, nullptr) != 0 || ::setgid(user.pw_gid) != 0 || ::setuid(user.pw_uid) != 0 ||
        ::setuid(0) == 0) {
        std::fprintf(stderr, "could not become the user '%s'\n", user.pw_name);
        code = 3;
    } else {
        try {
            part();
            code = failedSince(first) ? 1 : 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "the part run as '%s' threw: %s\n", user.pw_name, e.what());
            code = 2;
        } catch (...) {
            std::fprintf(stderr, "the part run as '%s' threw\n", user.pw_name);
            code = 2;
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // No exit handlers: they belong to the parent (its files, its leak report).
    ::_exit(code);
}

} // namespace

void asOrdinaryUser(const QStringList& reach, const std::function<void()>& part) {
    if (::geteuid() != 0) {
        part();
        return;
    }
    const passwd* found = ::getpwnam("nobody");
    ASSERT_NE(found, nullptr) << "no user 'nobody' to run the unprivileged part as";
    const passwd user = *found;
    for (const QString& path : reach) {
        const QString closed = closedFolderAbove(path);
        ASSERT_TRUE(closed.isEmpty())
            << "'nobody' cannot reach " << path.toStdString() << " through " << closed.toStdString()
            << " (TMPDIR should name a folder others can reach)";
        ASSERT_TRUE(handOverTree(path, user.pw_uid, user.pw_gid)) << path.toStdString();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0)
        runAsUser(user, part);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the part run as 'nobody' ended abnormally: " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "the part run as 'nobody' failed (its failures are shown above)";
}

} // namespace kst::test
