// How long it takes to make a profile the current one: `Open_DB` of the default
// profile, as start-up and every profile command run it, and the check that start-up
// makes of the recorded profile before it loads it. Each load reads the settings row,
// the preferences, the 32 buttons, the 16 rules and macro 1, each through its own
// connection, and applies them to the main window.

#include "app/main/frm_main.h"
#include "app/main/main_controller.h"
#include "app/main/session.h"
#include "app/profiles/profile_control.h"
#include "bench_main.h"
#include "platform/services.h"
#include "storage/profile_creator.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The load's boxes (no port is found here) would only print.
class SilentBoxes : public kst::MessageBoxes {
public:
    int show(const QString&, kst::MsgIcon, kst::MsgButtons, const QString&) override {
        return kst::AnswerOk;
    }
};

// A program folder with the support database the build makes, the default profile and
// a second profile.
class ProgramFolder {
public:
    ProgramFolder() {
        QDir(dir_.path()).mkpath("Devices");
        const QString support = kst::supportDbPath(dir_.path());
        QFile::copy(KST_SUPPORT_DB_PATH, support);
        QFile::setPermissions(support, QFile::ReadOwner | QFile::WriteOwner);
        kst::NoProgress progress;
        kst::ProfileCreator creator(kst::supportConnStr(dir_.path()), progress,
                                    [](const QString&, const QString&) { return true; });
        creator.CreateDB(defaultProfile(), "Device1.kst");
        creator.CreateDB(secondProfile(), "Bench.kst");
    }
    QString path() const { return dir_.path(); }
    QString defaultProfile() const { return dir_.filePath("Devices/Device1.kst"); }
    QString secondProfile() const { return dir_.filePath("Devices/Bench.kst"); }

private:
    QTemporaryDir dir_;
};

// `Open_DB` in a main window; `alternate` switches between the two profiles, so that
// every load records a new one in kst.ini, as a profile command does.
void openDb(benchmark::State& state, bool alternate) {
    SilentBoxes boxes;
    kst::MessageBoxes* previous = kst::Platform::setMessages(&boxes);
    ProgramFolder folder;
    kst::frmMain window(folder.path(), QSize(1024, 768));
    window.session().discoverDevices = [] { return QStringList(); };
    bool second = false;
    for (auto _ : state) {
        window.controller().profile().Open_DB(second ? folder.secondProfile()
                                                     : folder.defaultProfile(),
                                              second ? "Bench.kst" : "Device1.kst");
        second = alternate && !second;
    }
    kst::Platform::setMessages(previous);
}

void BM_OpenDbDefaultProfile(benchmark::State& state) {
    openDb(state, false);
}
BENCHMARK(BM_OpenDbDefaultProfile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenDbSwitchingProfiles(benchmark::State& state) {
    openDb(state, true);
}
BENCHMARK(BM_OpenDbSwitchingProfiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ValidateDefaultProfile(benchmark::State& state) {
    ProgramFolder folder;
    for (auto _ : state)
        benchmark::DoNotOptimize(kst::ValidateSettingsDB(folder.defaultProfile()));
}
BENCHMARK(BM_ValidateDefaultProfile)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return kst::bench::runWithWidgets(argc, argv);
}
