#include "app_fixtures.h"
#include "notation/notation.h"
#include "tools/checksum_calculator.h"
#include "tools/frm_logic.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace kst;
using namespace kst::test;

namespace {

// A main window with the program's own commands, as the user has it.
class ToolsTest : public ::testing::Test {
protected:
    ToolsTest() : main((folder.makeReady(), folder.path()), FullScreen) {
        main.setCommands(nullptr);
        main.InitMainWindow();
        boxes.clear();
    }
    template <class W> QList<W*> windows() const { return main.findChildren<W*>(); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingShell shell;
    RecordingMain main;
};

TEST_F(ToolsTest, ThePaneCalculatesWithTheMainWindowsState) {
    const MainControls& ui = main.ui();
    ui.Option4[ncDec]->click();
    ui.Option5[opDifference]->click();
    EXPECT_EQ(main.state().CalcNotation, ncDec);
    EXPECT_EQ(main.state().CalcOperation, opDifference);
    ui.txtOperands->setText("10,20,");
    EXPECT_TRUE(ui.cmdCal->isEnabled());
    ui.cmdCal->click();
    EXPECT_EQ(ui.txtResult->text(), "-10");

    ui.Option5[opQuotient]->click();
    EXPECT_EQ(ui.txtResult->width(), toPixels(1650));
    EXPECT_TRUE(ui.txtRemainder->isVisibleTo(ui.Frame5));
    ui.txtOperands->setText("100,7,3,");
    ui.cmdCal->click();
    EXPECT_EQ(ui.txtResult->text(), "4");
    EXPECT_EQ(ui.txtRemainder->text(), "2");
    ui.Option5[opCrc]->click();
    EXPECT_EQ(ui.txtResult->width(), toPixels(2550));
    EXPECT_TRUE(ui.lblModbus->isVisibleTo(ui.Frame5));
    EXPECT_EQ(ui.Label3->text(), "Input operands (e.g. 10,11,)");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(ToolsTest, TheCalculatorWindowKeepsStateApartFromThePane) {
    main.menuItem("mnuCal")->trigger();
    ASSERT_EQ(windows<frmLogic>().size(), 1);
    frmLogic* window = windows<frmLogic>().first();
    EXPECT_TRUE(window->isVisible());
    window->calculatorControls().notations[ncBin]->click();
    window->calculatorControls().operators[opNot]->click();
    EXPECT_EQ(main.state().CalcNotation, ncHex);
    EXPECT_EQ(main.state().CalcOperation, opAnd);
    window->calculatorControls().txtOperands->setText("1");
    window->calculatorControls().cmdCal->click();
    EXPECT_EQ(window->calculatorControls().txtResult->text(), "11111110 ");
}

} // namespace
