#include "system_info.h"

#include "notice.h"

#include <QProcess>
#include <QStandardPaths>

namespace kst {

SystemInfoLauncher::SystemInfoLauncher()
    : SystemInfoLauncher(
          [](const QString& program) { return QStandardPaths::findExecutable(program); },
          [](const QString& path) { return QProcess::startDetached(path, {}); }) {}

SystemInfoLauncher::SystemInfoLauncher(Finder finder, Starter starter)
    : finder_(std::move(finder)), starter_(std::move(starter)) {}

const QStringList& SystemInfoLauncher::candidates() {
    // Hardware and system summaries first, the desktops' own overviews after them.
    static const QStringList programs = {"hardinfo2", "hardinfo", "kinfocenter",
                                         "gnome-system-monitor"};
    return programs;
}

void SystemInfoLauncher::StartSysInfo() const {
    for (const QString& program : candidates()) {
        const QString path = finder_(program);
        if (path.isEmpty())
            continue;
        if (starter_(path))
            return;
        break;
    }
    Notice{QStringLiteral("System Information Is Unavailable At This Time")}.show();
}

} // namespace kst
