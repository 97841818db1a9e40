#pragma once

#include "system_info.h"

#include <QPixmap>
#include <QWidget>

class QLabel;
class QPushButton;

namespace kst {

class LinkLabel;

// The About box: the product's name, line types, description and version, links to the
// product's and the maker's sites, and a button that starts the system-information
// program. OK, Cancel and Esc close it. Modeless.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    static const QString& productSite();
    static const QString& makerSite();

    explicit frmAbout(QWidget* owner = nullptr, const QPixmap& picture = QPixmap(),
                      SystemInfoLauncher sysInfo = SystemInfoLauncher());

    LinkLabel* link1() const { return objLink1_; }
    LinkLabel* link2() const { return objLink2_; }
    QPushButton* okButton() const { return Command2_; }
    QPushButton* sysInfoButton() const { return Command3_; }
    QPushButton* cancelButton() const { return Command1_; }

    void StartSysInfo() const { sysInfo_.StartSysInfo(); }

private:
    void SetupLinks(QLabel* site, QLabel* maker);

    SystemInfoLauncher sysInfo_;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    LinkLabel* objLink1_ = nullptr;
    LinkLabel* objLink2_ = nullptr;
};

} // namespace kst
