#include "app/main/session.h"

#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "storage/profile_schema.h"
#include "traffic/send_engine.h"

namespace kst {

Session::Session(QString programFolder, Scheduler& scheduler)
    : programFolder_(std::move(programFolder)), supportConnStr_(supportConnStr(programFolder_)),
      ini_(programFolder_), scheduler_(scheduler),
      mscomm1_(std::make_unique<comm::CommControl>(
          comm::CommControl::portsFolderDevices(programFolder_))),
      mscomm2_(std::make_unique<comm::CommControl>(
          comm::CommControl::portsFolderDevices(programFolder_))),
      primaryLines_(*mscomm1_) {}

Session::~Session() = default;

void Session::startEngines(const EngineViews& views) {
    sender_ = std::make_unique<SendEngine>(views.sending, scheduler_);
    autoResponder_ = std::make_unique<AutoResponder>(*sender_, views.autoResponse);
    macroRunner_ =
        std::make_unique<MacroRunner>(*sender_, scheduler_, *autoResponder_, views.macroRun);
}

LineLevels PrimaryPortLines::levelsNow() const {
    return {port_.CTSHolding(), port_.DSRHolding(), port_.CDHolding()};
}

QString Session::supportDatabasePath() const {
    return supportDbPath(programFolder_);
}

QString Session::ownFileAt(const QString& path) const {
    const std::pair<QString, QString> own[] = {
        {ini_.settingsFile(), QStringLiteral("the device profile that is open")},
        {supportDatabasePath(), QStringLiteral("the support database")},
        {ini_.iniPath(), QStringLiteral("the program's kst.ini")},
    };
    for (const auto& [file, what] : own) {
        if (sameFile(path, file))
            return what;
    }
    return QString();
}

QString Session::helpFilePath() const {
    return programFolder_ + QStringLiteral("/KestrelonHelp.chm");
}

void Session::useDevices(const comm::DeviceFactory& factory) {
    mscomm1_->setDeviceFactory(factory);
    mscomm2_->setDeviceFactory(factory);
}

void Session::closePorts() {
    for (comm::CommControl* port : {mscomm1_.get(), mscomm2_.get()}) {
        try {
            if (port->PortOpen())
                port->setPortOpen(false);
        } catch (const RunTimeError&) {
        }
    }
}

} // namespace kst
