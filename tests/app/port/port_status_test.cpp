#include "app/app_fixtures.h"
#include "app/main/status_bar.h"
#include "app/port/port_settings.h"
#include "support/pty_pair.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QTimer>

using namespace kst;
using namespace kst::test;

namespace {

TEST(PortSettings, SettingsStringTakesTheParityLetter) {
    EXPECT_EQ(portSettingsString("19200", "Even", "7", "2"), "19200,E,7,2");
    EXPECT_EQ(portSettingsString("110", "Space", "5", "1.5"), "110,S,5,1.5");
    EXPECT_EQ(portSettingsString("", "", "", ""), ",,,");
    EXPECT_EQ(*handshakeNameOf(2), "RTS/CTS");
    EXPECT_FALSE(handshakeNameOf(4).has_value());
    EXPECT_FALSE(handshakeNameOf(-1).has_value());
}

TEST(PortSettings, PortListHoldsEachPresentPortOnceInOrder) {
    EXPECT_EQ(portListEntries({16, 1, 3}), QStringList({"1", "3", "16"}));
    EXPECT_EQ(portListEntries({3, 3, 17, 0, 2}), QStringList({"2", "3"}));
    EXPECT_EQ(portListEntries({}), QStringList({" "}));
    EXPECT_EQ(portListEntries({17}), QStringList({" "}));
}

TEST(PortSettings, OnlyARealPortPositionIsStored) {
    EXPECT_EQ(storablePortIndex({"1", "3"}, 1), 1);
    EXPECT_FALSE(storablePortIndex({" "}, 0).has_value());
    EXPECT_FALSE(storablePortIndex({}, 0).has_value());
    EXPECT_FALSE(storablePortIndex({"1"}, -1).has_value());
}

class PortListTest : public ::testing::Test {
protected:
    PortListTest() : main(folder.path(), FullScreen) {}
    QComboBox* list(const char* name) { return main.control<QComboBox>(name); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingMain main;
};

TEST_F(PortListTest, ProbedPortsFillTheListWithoutChoosing) {
    PtyPair com1, com3, com16;
    ASSERT_TRUE(linkPort(folder.path(), 1, com1.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 3, com3.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 16, com16.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 5, folder.file("unplugged")));
    // A port held by someone else is there all the same.
    comm::CommControl elsewhere(folder.path());
    elsewhere.setCommPort(3);
    elsewhere.setPortOpen(true);
    // The probe does not depend on settings the line cannot run.
    main.MSComm1().setSettings("9600,N,4,1");

    main.ListComPorts();
    main.ListComPorts();

    EXPECT_EQ(main.portChoice()->count(), 3);
    QStringList entries;
    for (int i = 0; i < main.portChoice()->count(); ++i)
        entries << main.portChoice()->itemText(i);
    EXPECT_EQ(entries, QStringList({"1", "3", "16"}));
    EXPECT_FALSE(main.MSComm1().PortOpen());
    EXPECT_EQ(main.MSComm1().CommPort(), 16);
    EXPECT_EQ(main.MSComm1().Settings(), "9600,N,4,1");
    EXPECT_EQ(main.portChoice()->currentIndex(), -1);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    main.portChoice()->setCurrentIndex(1);
    EXPECT_EQ(main.portIndexToStore(), 1);
}

TEST_F(PortListTest, NoPortLeavesThePlaceholderAndSaysSo) {
    main.FillPortList({});
    ASSERT_EQ(main.portChoice()->count(), 1);
    EXPECT_EQ(main.portChoice()->itemText(0), " ");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, "No COM port found or COM port number is over 16!");
    EXPECT_EQ(boxes.boxes()[0].title, "COM port checking");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Exclamation);
    main.portChoice()->setCurrentIndex(0);
    EXPECT_FALSE(main.portIndexToStore().has_value());
}

TEST_F(PortListTest, SettingListsHoldTheStoredPositions) {
    EXPECT_EQ(list("BaudChoice")->count(), 16);
    EXPECT_EQ(list("BaudChoice")->itemText(13), "115200");
    EXPECT_EQ(list("DataBitChoice")->itemText(0), "4");
    EXPECT_EQ(list("ParityChoice")->itemText(4), "Space");
    EXPECT_EQ(list("StopBitChoice")->itemText(1), "1.5");
    for (const char* name : {"BaudChoice", "DataBitChoice", "ParityChoice", "StopBitChoice"})
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
}

TEST_F(PortListTest, ChoosingInAnyListRewritesTheSettingPanels) {
    PanelStatusBar* bar = main.StatusBar1();
    main.FillPortList({1, 3});
    main.state().HandshakeName = "RTS/CTS";
    list("BaudChoice")->setCurrentIndex(8);
    list("DataBitChoice")->setCurrentIndex(3);
    list("ParityChoice")->setCurrentIndex(1);
    list("StopBitChoice")->setCurrentIndex(2);
    main.portChoice()->setCurrentIndex(1);
    EXPECT_EQ(bar->panelText("Setting"), "COM Port Settings: 19200,E,7,2 Handshaking: RTS/CTS");
    EXPECT_EQ(bar->panelText("Status"), "COM Port (3) Status:");

    list("ParityChoice")->setCurrentIndex(4);
    EXPECT_EQ(bar->panelText("Setting"), "COM Port Settings: 19200,S,7,2 Handshaking: RTS/CTS");
    list("StopBitChoice")->setCurrentIndex(1);
    EXPECT_TRUE(bar->panelText("Setting").startsWith("COM Port Settings: 19200,S,7,1.5 "));
}

TEST_F(PortListTest, StatusBarKeepsItsPanelsAndTheClock) {
    PanelStatusBar* bar = main.StatusBar1();
    QStringList keys;
    for (QObject* child : bar->children()) {
        if (PanelStatusBar::panelKeys().contains(child->objectName()))
            keys << child->objectName();
    }
    EXPECT_EQ(keys, PanelStatusBar::panelKeys());

    ManualClock clock;
    clock.wallClock = QDateTime(QDate(2031, 12, 24), QTime(17, 45, 9));
    bar->refreshAutomaticPanels();
    EXPECT_EQ(bar->panelText("Date"),
              QLocale().toString(QDate(2031, 12, 24), QLocale::ShortFormat));
    EXPECT_EQ(bar->panelText("Time"), QLocale().toString(QTime(17, 45, 9), QLocale::ShortFormat));
    EXPECT_TRUE(bar->clockTimer()->isActive());
    EXPECT_LE(bar->clockTimer()->interval(), 1000);

    bar->setPanelPicture("Ball", 3);
    EXPECT_EQ(bar->panelPicture("Ball"), 3);
    bar->setPanelPicture("Setting", 2); // a text panel shows no picture
    EXPECT_EQ(bar->panelPicture("Setting"), 0);
}

} // namespace

namespace {

// Counts the bar's layout passes.
struct LayoutPasses : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

TEST_F(PortListTest, ABusyLineSwitchesTheBallsTextsWithoutLayingOutTheBarAgain) {
    main.show();
    PanelStatusBar* bar = main.StatusBar1();
    bar->setPanelText("Ball", "Receiving data ...");
    for (int settle = 0; settle < 3; ++settle)
        QCoreApplication::sendPostedEvents();
    LayoutPasses passes;
    bar->installEventFilter(&passes);
    for (int block = 0; block < 5; ++block) {
        bar->setPanelText("Ball", "Ready");
        QCoreApplication::sendPostedEvents();
        bar->setPanelText("Ball", "Receiving data ...");
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(passes.count, 0);

    // A longer text still gets the room it needs.
    const QString longer = "COM 2 Input Buffer Overflow, and more besides";
    bar->setPanelText("Ball", longer);
    QCoreApplication::sendPostedEvents();
    auto* text = bar->findChild<QWidget*>("Ball")->findChildren<QLabel*>().last();
    EXPECT_EQ(text->text(), longer);
    EXPECT_GE(text->width(), text->fontMetrics().horizontalAdvance(longer));
}

} // namespace
