#include "app/main/frm_main.h"
#include "app/main/frm_splash.h"
#include "app/main/session_closing.h"
#include "platform/desktop/desktop_services.h"
#include "platform/heap_tuning.h"
#include "platform/services.h"

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
    const kst::SessionClosing sessionEnd([&]() -> QWidget* { return mainWindow.get(); });
    splash.show();
    return app.exec();
}
