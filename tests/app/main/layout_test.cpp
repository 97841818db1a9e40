#include "app/app_fixtures.h"
#include "app/main/controls.h"
#include "app/main/form_layout.h"

#include <QAction>
#include <QTest>
#include <map>

using namespace kst;
using namespace kst::test;

namespace {

// Control geometry kept in a table, to check the layout arithmetic in exact twips.
class MapSurface : public TwipsSurface {
public:
    std::map<std::pair<QString, Prop>, int> values;
    void put(const QString& control, int left, int top, int width, int height) {
        values[{control, Prop::Left}] = left;
        values[{control, Prop::Top}] = top;
        values[{control, Prop::Width}] = width;
        values[{control, Prop::Height}] = height;
    }
    int at(const QString& control, Prop prop) const { return get(control, prop); }

    // The panes at their design places, their heights still to be stretched.
    static MapSurface designedPanes() {
        MapSurface form;
        form.put("SSTab1", 120, 4710, 4800, 0);
        form.put("RichTextBox1", 90, 420, 4620, 0);
        form.put("frMonitoring", 5070, 600, 9000, 0);
        form.put("responseBox", 120, 4240, 8760, 0);
        return form;
    }

protected:
    int read(const QString& control, Prop prop) const override {
        const auto it = values.find({control, prop});
        return it == values.end() ? 0 : it->second;
    }
    void write(const QString& control, Prop prop, int twips) override {
        values[{control, prop}] = twips;
    }
};

TEST(CompactScreen, ThresholdsAreStrict) {
    struct Case {
        QSize screen;
        bool compact;
    };
    for (const Case& c : {Case{{1024, 768}, false}, Case{{950, 700}, false}, Case{{800, 600}, true},
                          Case{{900, 800}, true}, Case{{949, 1200}, true}, Case{{1600, 699}, true}})
        EXPECT_EQ(isCompactScreen(c.screen), c.compact)
            << c.screen.width() << "x" << c.screen.height();
}

TEST(LayoutArithmetic, ResizeStretchesPanesAndCarriesTheLedRow) {
    MapSurface form = MapSurface::designedPanes();
    resizePanes(form, 10000, 330);

    EXPECT_EQ(form.at("SSTab1", Prop::Height), 10000 - 330 - 4710 - 100);
    EXPECT_EQ(form.at("ListView1", Prop::Height), form.at("SSTab1", Prop::Height) - 550);
    EXPECT_EQ(form.at("RichTextBox1", Prop::Height), form.at("ListView1", Prop::Height) - 500);
    EXPECT_EQ(form.at("cmdSaveNotes", Prop::Top),
              420 + form.at("RichTextBox1", Prop::Height) + 100);
    EXPECT_EQ(form.at("cmdClearNotes", Prop::Top), form.at("cmdSaveNotes", Prop::Top));
    const int frameBottom = 600 + (10000 - 330 - 600 - 400);
    EXPECT_EQ(form.at("frMonitoring", Prop::Height), frameBottom - 600);
    EXPECT_EQ(form.at("responseBox", Prop::Height), 10000 - 330 - 4240 - 1100);
    for (const QString& led : ledNames()) {
        EXPECT_EQ(form.at("lbl" + led, Prop::Top), frameBottom + 60);
        EXPECT_EQ(form.at("img" + led, Prop::Top), frameBottom + 60);
    }
    EXPECT_EQ(form.at("ProgressBar1", Prop::Top), frameBottom + 60);
    EXPECT_EQ(form.at("Line3", Prop::Y1), frameBottom + 60);
    EXPECT_EQ(form.at("Line3", Prop::Y2), frameBottom + 260);
    EXPECT_EQ(form.at("lblDescription", Prop::Top), frameBottom + 60);
}

TEST(LayoutArithmetic, TooSmallAWindowLeavesSizesAsTheyWere) {
    MapSurface form = MapSurface::designedPanes();
    resizePanes(form, 12000, 330);
    const int tabHeight = form.at("SSTab1", Prop::Height);
    const int frameHeight = form.at("frMonitoring", Prop::Height);
    const int logHeight = form.at("responseBox", Prop::Height);

    resizePanes(form, 5000, 330); // the log and the tab pane would be negative
    EXPECT_EQ(form.at("SSTab1", Prop::Height), tabHeight);
    EXPECT_EQ(form.at("responseBox", Prop::Height), logHeight);
    EXPECT_EQ(form.at("frMonitoring", Prop::Height), 5000 - 330 - 600 - 400);
    EXPECT_NE(form.at("frMonitoring", Prop::Height), frameHeight);
}

TEST(LayoutArithmetic, LedRowFollowsTheFrameEdge) {
    MapSurface form;
    placeLedRow(form, 1000);
    EXPECT_EQ(form.at("lblRX", Prop::Left), 1000);
    EXPECT_EQ(form.at("imgDSR", Prop::Left), 2560);
    EXPECT_EQ(form.at("Line3", Prop::X1), 4725);
    EXPECT_EQ(form.at("Line3", Prop::X2), 4725);
    EXPECT_EQ(form.at("imgBRK", Prop::Left), 6490);
    EXPECT_EQ(form.at("ProgressBar1", Prop::Left), 6940);
    EXPECT_EQ(form.at("lblDescription", Prop::Left), 7735);
}

TEST(LayoutArithmetic, SendPaneHiddenAndShownPlacesTheLogRow) {
    MapSurface form;
    form.put("frSend", 120, 240, 8760, 3000);
    placeLogControls(form, true, 10000, 330);
    EXPECT_EQ(form.at("Frame2", Prop::Top), 240);
    EXPECT_EQ(form.at("Label2", Prop::Top), 300);
    EXPECT_EQ(form.at("cmdSearch", Prop::Top), 270);
    EXPECT_EQ(form.at("Check1", Prop::Top), 750);
    EXPECT_EQ(form.at("Check3", Prop::Top), 750);
    EXPECT_EQ(form.at("CbTimer", Prop::Top), 710);
    EXPECT_EQ(form.at("Clear", Prop::Top), 680);
    EXPECT_EQ(form.at("responseBox", Prop::Top), 1080);
    EXPECT_EQ(form.at("responseBox", Prop::Height), 10000 - 330 - 1080 - 1100);

    placeLogControls(form, false, 10000, 330);
    EXPECT_EQ(form.at("Frame2", Prop::Top), 3420);
    EXPECT_EQ(form.at("lblSearchResult", Prop::Top), 3390);
    EXPECT_EQ(form.at("Check2", Prop::Top), 3840);
    EXPECT_EQ(form.at("responseBox", Prop::Top), 4240);
    EXPECT_EQ(form.at("responseBox", Prop::Height), 10000 - 330 - 4240 - 1100);
}

TEST(LayoutArithmetic, CompactPanesUseTheTabPaneEdge) {
    MapSurface form = MapSurface::designedPanes();
    compactPanes(form, 9000, 330);
    EXPECT_EQ(form.at("frMonitoring", Prop::Left), 120);
    EXPECT_EQ(form.at("frMonitoring", Prop::Height), 9000 - 330 - 600 - 200);
    EXPECT_EQ(form.at("responseBox", Prop::Height), 9000 - 330 - 4240 - 1100);
}

// ---------------------------------------------------------------------------------------
// The window itself

class WindowLayoutTest : public ::testing::Test {
protected:
    std::unique_ptr<RecordingMain> start(QSize screen) {
        if (!FileExists(folder.file("mscomctl.2fl")))
            folder.makeReady();
        auto main = std::make_unique<RecordingMain>(folder.path(), screen);
        main->InitMainWindow();
        return main;
    }
    static int px(const frmMain& main, const char* name, Prop prop) {
        return toPixels(const_cast<frmMain&>(main).surface().get(name, prop));
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
};

TEST_F(WindowLayoutTest, ScreenSizeChoosesFullOrCompactLayout) {
    struct Case {
        QSize screen;
        bool compact;
    };
    for (const Case& c :
         {Case{{1024, 768}, false}, Case{{950, 700}, false}, Case{{800, 600}, true}}) {
        auto main = start(c.screen);
        SCOPED_TRACE(c.screen.width());
        EXPECT_EQ(main->isCompactLayout(), c.compact);
        EXPECT_EQ(main->ui().SSTab1->isVisible(), !c.compact);
        EXPECT_EQ(main->control("Frame5")->isVisible(), !c.compact);
        EXPECT_EQ(main->menuItem("mnuHide")->isVisible(), !c.compact);
        EXPECT_EQ(main->menuItem("mnuAscii")->isVisible(), c.compact);
        const int tabRight = px(*main, "SSTab1", Prop::Left) + px(*main, "SSTab1", Prop::Width);
        const int frameLeft = px(*main, "frMonitoring", Prop::Left);
        EXPECT_EQ(frameLeft, c.compact ? px(*main, "SSTab1", Prop::Left) : tabRight + 10);
        EXPECT_EQ(px(*main, "lblRX", Prop::Left), frameLeft);
    }
}

TEST_F(WindowLayoutTest, ResizingKeepsTheLogAndLedRowAboveTheStatusBar) {
    auto main = start(FullScreen);
    main->showNormal();
    for (const QSize size : {QSize(900, 700), QSize(1000, 820), QSize(700, 200)}) {
        main->resize(size);
        QCoreApplication::processEvents();
        const int clientBottom = main->centralWidget()->height();
        const QWidget* frame = main->control("frMonitoring");
        const QWidget* log = main->responseBox();
        if (size.height() > 300) {
            EXPECT_NEAR(frame->geometry().bottom() + 1, clientBottom - 27, 1);
            EXPECT_NEAR(frame->y() + log->geometry().bottom() + 1, clientBottom - 73 + 40, 2);
            EXPECT_NEAR(main->control("imgBRK")->y(), frame->geometry().bottom() + 1 + 4, 1);
        } else {
            // Too small for the log: it keeps its last height instead of failing.
            EXPECT_GT(log->height(), 0);
        }
    }
}

TEST_F(WindowLayoutTest, HideCalculatorTogglesPaneWindowAndLedRow) {
    auto main = start(FullScreen);
    QAction* hide = main->menuItem("mnuHide");
    QPoint designPlaces[2];
    designPlaces[0] = main->control("frMonitoring")->pos();
    designPlaces[1] = main->control("imgBRK")->pos();

    hide->trigger();
    EXPECT_TRUE(hide->isChecked());
    EXPECT_FALSE(main->ui().SSTab1->isVisible());
    EXPECT_FALSE(main->control("Frame5")->isVisible());
    EXPECT_FALSE(main->isMaximized());
    const int frameLeft = px(*main, "frMonitoring", Prop::Left);
    EXPECT_EQ(frameLeft, px(*main, "SSTab1", Prop::Left));
    EXPECT_EQ(main->width(), toPixels(main->surface().get("frMonitoring", Prop::Left) +
                                      main->surface().get("frMonitoring", Prop::Width) + 200));
    EXPECT_EQ(main->height(), toPixels(toTwips(768) - 800));
    EXPECT_EQ(px(*main, "imgRX", Prop::Left), frameLeft + 19);
    EXPECT_EQ(px(*main, "lblRTS", Prop::Left), frameLeft + 294);

    hide->trigger();
    EXPECT_FALSE(hide->isChecked());
    EXPECT_TRUE(main->ui().SSTab1->isVisible());
    EXPECT_TRUE(main->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(main->control("frMonitoring")->pos(), designPlaces[0]);
    EXPECT_EQ(main->control("imgBRK")->pos().x(), designPlaces[1].x());
}

TEST_F(WindowLayoutTest, HideSendPaneTwiceReturnsEveryControl) {
    auto main = start(FullScreen);
    const QStringList moved = {"Frame2",    "Label2", "lblSearchResult", "Text2",
                               "cmdSearch", "Check1", "Check2",          "Check3",
                               "CbTimer",   "Clear",  "responseBox"};
    QHash<QString, QRect> before;
    for (const QString& name : moved)
        before[name] = main->control(name)->geometry();

    QAction* hideSend = main->menuItem("mnuHideSend");
    hideSend->trigger();
    EXPECT_TRUE(hideSend->isChecked());
    EXPECT_FALSE(main->control("frSend")->isVisible());
    EXPECT_EQ(main->control("Frame2")->y(), main->control("frSend")->y());
    EXPECT_LT(main->responseBox()->y(), before["responseBox"].y());
    EXPECT_GT(main->responseBox()->height(), before["responseBox"].height());

    hideSend->trigger();
    EXPECT_FALSE(hideSend->isChecked());
    EXPECT_TRUE(main->control("frSend")->isVisible());
    for (const QString& name : moved)
        EXPECT_EQ(main->control(name)->geometry(), before[name]) << name.toStdString();
}

} // namespace
