#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kst {

// Starts the desktop's system-information program: the first of the known programs that
// is installed, as a process of its own that outlives this one. When none is installed,
// or it does not start, the user is told "System Information Is Unavailable At This Time".
class SystemInfoLauncher {
public:
    // The full path of an installed program by its name, empty when it is not installed.
    using Finder = std::function<QString(const QString& program)>;
    // Starts the program detached; false when it did not start.
    using Starter = std::function<bool(const QString& path)>;

    // The search path and a detached process.
    SystemInfoLauncher();
    SystemInfoLauncher(Finder finder, Starter starter);

    // The programs looked for, in order.
    static const QStringList& candidates();

    void StartSysInfo() const;

private:
    Finder finder_;
    Starter starter_;
};

} // namespace kst
