#include "support/fakes.h"
#include "tools/frm_about.h"
#include "tools/frm_ascii.h"
#include "tools/link_label.h"
#include "tools/system_info.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kst;
using namespace kst::test;

namespace {

// A system with the given programs installed; records what it starts.
struct FakeSystem {
    QStringList installed;
    bool startWorks = true;
    QStringList started;

    SystemInfoLauncher launcher() {
        return SystemInfoLauncher(
            [this](const QString& program) {
                return installed.contains(program) ? "/usr/bin/" + program : QString();
            },
            [this](const QString& path) {
                started << path;
                return startWorks;
            });
    }
};

const char* const Unavailable = "System Information Is Unavailable At This Time";

TEST(SystemInfo, StartsTheFirstInstalledProgram) {
    RecordingMessageBoxes boxes;
    FakeSystem system{{"gnome-system-monitor", "hardinfo"}};
    system.launcher().StartSysInfo();
    EXPECT_EQ(system.started, QStringList{"/usr/bin/hardinfo"});
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST(SystemInfo, NoneInstalledOrNoneStartingIsTold) {
    RecordingMessageBoxes boxes;
    FakeSystem none;
    none.launcher().StartSysInfo();
    EXPECT_TRUE(none.started.isEmpty());
    FakeSystem broken{{"kinfocenter"}, false};
    broken.launcher().StartSysInfo();
    EXPECT_EQ(broken.started, QStringList{"/usr/bin/kinfocenter"});
    ASSERT_EQ(boxes.boxes().size(), 2);
    for (const RecordedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.text, Unavailable);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_EQ(box.title, appTitle());
    }
}

class AboutTest : public ::testing::Test {
protected:
    AboutTest() : about(new frmAbout(nullptr, QPixmap(), system.launcher())) { about->show(); }
    ~AboutTest() override { delete about.data(); }

    RecordingMessageBoxes boxes;
    RecordingShell shell;
    FakeSystem system{{"kinfocenter"}};
    QPointer<frmAbout> about;
};

TEST_F(AboutTest, SystemInfoButtonStartsTheProgram) {
    EXPECT_EQ(about->windowTitle(), "About");
    about->sysInfoButton()->click();
    EXPECT_EQ(system.started, QStringList{"/usr/bin/kinfocenter"});
}

TEST_F(AboutTest, TheLinksOpenTheirSites) {
    for (LinkLabel* link : {about->link1(), about->link2()}) {
        QTest::mouseClick(link->linkLabel(), Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(link->linkLabel()->text(), link->linkPath());
    }
    EXPECT_EQ(shell.opened, QStringList({frmAbout::productSite(), frmAbout::makerSite()}));
}

TEST_F(AboutTest, OkCancelAndEscCloseTheBox) {
    EXPECT_FALSE(about->cancelButton()->isVisible() &&
                 about->rect().contains(about->cancelButton()->geometry()));
    about->okButton()->click();
    EXPECT_FALSE(about->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());

    for (int way = 0; way < 2; ++way) {
        QPointer<frmAbout> box = new frmAbout();
        box->show();
        QApplication::setActiveWindow(box);
        ASSERT_TRUE(QTest::qWaitForWindowActive(box));
        if (way == 0)
            box->cancelButton()->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_FALSE(box->isVisible()) << way;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull()) << way;
    }
}

TEST(AsciiChartWindow, EachWindowHasTheWholeChart) {
    for (int opened = 0; opened < 2; ++opened) {
        frmAscII window;
        EXPECT_EQ(window.windowTitle(), "AscII chart");
        QTreeWidget* chart = window.chart();
        ASSERT_EQ(chart->topLevelItemCount(), 256);
        EXPECT_EQ(chart->headerItem()->text(4), "Code");
        const QTreeWidgetItem* lf = chart->topLevelItem(10);
        EXPECT_EQ(QStringList({lf->text(0), lf->text(1), lf->text(2), lf->text(3), lf->text(4)}),
                  QStringList({"^J", "10", "A", " ", "LF"}));
        EXPECT_EQ(chart->topLevelItem(200)->text(3), QString(QChar(200)));
        EXPECT_EQ(chart->topLevelItem(200)->columnCount(), 4);
    }
}

} // namespace
