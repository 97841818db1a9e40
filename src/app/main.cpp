#include "app/main/frm_main.h"
#include "app/main/frm_splash.h"
#include "platform/desktop/desktop_services.h"
#include "platform/heap_tuning.h"
#include "platform/services.h"
#include "platform/session_end.h"

#include <QApplication>
#include <memory>

// Everything the program starts from lies beside its executable: the support database,
// kst.ini, the Devices and ports folders. There are no options.
int main(int argc, char** argv) {
    kst::keepLargeBuffersMapped();
    QApplication app(argc, argv);
    kst::installDesktopServices();
    QApplication::setApplicationName(kst::appTitle());
    const QString programFolder = QCoreApplication::applicationDirPath();

    std::unique_ptr<kst::frmMain> mainWindow;
    kst::frmSplash splash;
    splash.setLoad([&] {
        mainWindow = std::make_unique<kst::frmMain>(programFolder);
        mainWindow->Form_Load();
    });
    // The session's end closes the window as its close box does: the editors still open
    // ask about their edits and the exit save runs. A question open is answered first, as
    // the close box waits for it. Before the window is shown there is nothing of the
    // user's to keep.
    const kst::SessionEnd sessionEnd([&] {
        kst::whenNoBoxWaits([&] {
            if (mainWindow && mainWindow->isVisible())
                mainWindow->close();
            else
                kst::Platform::ender().endProgram();
        });
    });
    splash.show();
    return app.exec();
}
