#include "app/profiles/log_files.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "notation/line_codec.h"
#include "notation/view/styled_log.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "platform/whole_file.h"
#include "storage/ini_file.h"
#include "storage/rtf.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <utility>

namespace kst {

namespace {

const QString LogFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Doc Files "
                                         "(*.doc)|*.doc|Rich Text Files (*.rtf)|*.rtf");
// "Text Files", the entry the dialog preselects.
constexpr int PlainTextFilter = 2;

// Text as UTF-8 when it is valid UTF-8 (what this program writes; the decoder drops a
// leading byte-order mark), otherwise as the single-byte code page of the line.
QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return LineCodec::toText(bytes);
}

} // namespace

void LogFiles::mnuSave_Click() {
    CommonDialog& dialog = session_.cmdlg1();
    for (;;) {
        dialog.prepare(LogFilter, session_.programFolder());
        const std::optional<ChosenFile> chosen = dialog.showSave();
        if (!chosen)
            return;
        const OverwriteChoice choice = confirmOverwrite(chosen->fileName);
        if (choice == OverwriteChoice::Abandon)
            return;
        if (choice == OverwriteChoice::ChooseAgain)
            continue;
        StyledLog& log = window_.log();
        QByteArray content;
        if (dialog.properties.filterIndex == PlainTextFilter) {
            content = log.plainText().replace(u'\n', QLatin1String("\r\n")).toUtf8();
        } else {
            content = WriteRtf(log.runs(), window_.ui().responseBox->font().family());
        }
        try {
            WriteWholeFile(chosen->fileName, content);
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
    QFile file(chosen->fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        msgBox(QStringLiteral("The log file %1 could not be opened: %2")
                   .arg(chosen->fileName, file.errorString()),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Open Log Error:"));
        return;
    }
    QByteArray bytes = file.readAll();
    // The content decides, not the name: rich text saved as ".txt" stays rich text.
    if (IsRtf(bytes)) {
        const std::optional<std::vector<StyledRun>> runs = ReadRtf(bytes);
        if (!runs) {
            msgBox(QStringLiteral("The log file %1 is damaged rich text; the log was left as it "
                                  "was.")
                       .arg(chosen->fileName),
                   MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Open Log Error:"));
            return;
        }
        window_.log().replace(*runs);
    } else {
        // The file's bytes go before the log is built: a large log is held once, not twice.
        window_.log().replace(decodeText(std::exchange(bytes, QByteArray())));
    }
}

} // namespace kst
