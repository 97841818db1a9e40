#include "app/profiles/log_files.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/profiles/log_loader.h"
#include "app/profiles/log_rich_text.h"
#include "notation/view/log_view.h"
#include "notation/view/styled_log.h"
#include "platform/file_names.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "platform/whole_file.h"
#include "storage/ini_file.h"

#include <QFile>
#include <memory>

namespace kst {

namespace {

const QString LogFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Doc Files "
                                         "(*.doc)|*.doc|Rich Text Files (*.rtf)|*.rtf");
// "Text Files", the entry the dialog preselects.
constexpr int PlainTextFilter = 2;

// The log as plain text: UTF-8, each line ended by CR LF.
void writePlainText(const LogStore& log, WholeFileWriter& file) {
    log.visitText(0, log.length(), 1 << 20, [&](QStringView piece) {
        QByteArray bytes = piece.toUtf8();
        bytes.replace('\n', "\r\n");
        file.write(bytes);
        return true;
    });
}

} // namespace

LogFiles::LogFiles(Session& session, MainView& window) : session_(session), window_(window) {}

LogFiles::~LogFiles() = default;

void LogFiles::mnuSave_Click() {
    CommonDialog& dialog = session_.cmdlg1();
    for (;;) {
        dialog.prepare(LogFilter, session_.programFolder());
        const std::optional<ChosenFile> chosen = dialog.showSave(QStringLiteral("Save Log Error:"));
        if (!chosen)
            return;
        // The open profile, the support database or kst.ini would be lost under the log.
        if (const QString own = session_.ownFileAt(chosen->fileName); !own.isEmpty()) {
            msgBox(QStringLiteral("'%1' is %2: the log is not saved over it. Please choose "
                                  "another name.")
                       .arg(chosen->fileName, own),
                   MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Save Log Error:"));
            continue;
        }
        const OverwriteChoice choice = confirmOverwrite(chosen->fileName);
        if (choice == OverwriteChoice::Abandon)
            return;
        if (choice == OverwriteChoice::ChooseAgain)
            continue;
        const LogStore& log = window_.log().store();
        try {
            WholeFileWriter file(chosen->fileName);
            if (dialog.properties.filterIndex == PlainTextFilter)
                writePlainText(log, file);
            else
                WriteLogRtf(log, window_.ui().responseBox->font().family(),
                            [&](QByteArrayView bytes) { file.write(bytes); });
            file.commit();
        } catch (const RunTimeError& e) {
            msgBox(e.description(), MsgIcon::Exclamation, MsgButtons::Ok,
                   QStringLiteral("Save Log Error:"));
        }
        return;
    }
}

void LogFiles::mnuOpenLog_Click() {
    CommonDialog& dialog = session_.cmdlg1();
    dialog.properties.title = QStringLiteral("Load Text File...");
    dialog.properties.filter = LogFilter;
    const std::optional<ChosenFile> chosen = dialog.showOpen();
    if (!chosen)
        return;
    // Only a file: a named pipe or a device chosen here would hold the window in its
    // opening or reading for as long as no other program wrote to it.
    ReadableFile chosenFile(chosen->fileName);
    std::unique_ptr<QFile> file = chosenFile.take();
    if (!file) {
        msgBox(QStringLiteral("The log file could not be opened: %1").arg(chosenFile.reason()),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Open Log Error:"));
        return;
    }
    if (!loader_)
        loader_ =
            std::make_unique<LogLoader>(window_.log(), session_.scheduler(), window_.widget());
    loader_->start(std::move(file), chosen->fileName);
}

} // namespace kst
