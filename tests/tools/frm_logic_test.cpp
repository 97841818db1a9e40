#include "notation/notation.h"
#include "platform/desktop/bgr_color.h"
#include "platform/twips.h"
#include "support/fakes.h"
#include "tools/checksum_calculator.h"
#include "tools/frm_logic.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kst;
using namespace kst::test;

namespace {

// The calculator window; its calculator and converter are driven as the user drives them.
class CalculatorWindowTest : public ::testing::Test {
protected:
    const CalculatorControls& calc() const { return window.calculatorControls(); }
    const ConverterControls& conv() const { return window.converterControls(); }

    void choose(int notation, int op) {
        calc().notations[static_cast<size_t>(notation)]->click();
        calc().operators[static_cast<size_t>(op)]->click();
    }
    QString calculate(const QString& operands) {
        calc().txtOperands->setText(operands);
        calc().cmdCal->click();
        return calc().txtResult->text();
    }
    // Brings the window up with the focus in `field`, as a test of leaving needs.
    void focusIn(QWidget* field) {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        ASSERT_TRUE(field->hasFocus());
    }

    RecordingMessageBoxes boxes;
    frmLogic window;
};

TEST_F(CalculatorWindowTest, OpensOnHexAndAndWithNothingToCalculate) {
    EXPECT_EQ(window.windowTitle(), "Checksum Calculator / Notation Converter");
    EXPECT_TRUE(calc().notations[ncHex]->isChecked());
    EXPECT_TRUE(calc().operators[opAnd]->isChecked());
    EXPECT_EQ(calc().operators[8], nullptr);
    EXPECT_FALSE(calc().cmdCal->isEnabled());
    EXPECT_FALSE(calc().cmdCheckSumClear->isEnabled());
    EXPECT_FALSE(calc().txtRemainder->isVisibleTo(&window));
    EXPECT_EQ(calc().txtResult->width(), toPixels(4185));
    EXPECT_EQ(calculate("1A,2B,"), "A");
}

TEST_F(CalculatorWindowTest, EachOperatorLaysOutItsResultBoxes) {
    choose(ncDec, opQuotient);
    EXPECT_TRUE(calc().txtRemainder->isVisibleTo(&window));
    EXPECT_EQ(calc().txtResult->width(), toPixels(2835));
    EXPECT_EQ(calc().lblQuotient->text(), "Quotient (\\)");
    EXPECT_TRUE(calc().lblRemainder->isVisibleTo(&window));
    EXPECT_EQ(calculate("100,7,3,"), "4");
    EXPECT_EQ(calc().txtRemainder->text(), "2");

    calc().operators[opCrc]->click();
    EXPECT_FALSE(calc().txtRemainder->isVisibleTo(&window));
    EXPECT_EQ(calc().txtResult->width(), toPixels(4185));
    EXPECT_EQ(calc().lblQuotient->text(), "High-order byte");
    EXPECT_TRUE(calc().lblModbus->isVisibleTo(&window));
    EXPECT_EQ(calc().operators[opCrc]->palette().color(QPalette::WindowText), colorFromBgr(0x40C0));
    EXPECT_EQ(calculate("1,3,0,0,0,10,"), "205,197,");

    calc().operators[opNot]->click();
    EXPECT_FALSE(calc().lblQuotient->isVisibleTo(&window));
    EXPECT_FALSE(calc().lblModbus->isVisibleTo(&window));
    EXPECT_NE(calc().operators[opCrc]->palette().color(QPalette::WindowText), colorFromBgr(0x40C0));
    EXPECT_EQ(calc().prompt->text(), "Input operand (e.g. 10)");
}

TEST_F(CalculatorWindowTest, AsciiLeavesOnlyTheCrcAndBackAgain) {
    calc().notations[ncAscii]->click();
    for (int op : {0, 1, 2, 3, 4, 5, 6, 9, 10})
        EXPECT_FALSE(calc().operators[static_cast<size_t>(op)]->isEnabled()) << op;
    EXPECT_TRUE(calc().operators[opCrc]->isChecked());
    EXPECT_EQ(calc().prompt->text(), "Input operands (e.g. Hello World)");
    EXPECT_EQ(calculate("123456789"), "4B,37,");

    calc().notations[ncHex]->click();
    for (int op : {0, 1, 2, 3, 4, 5, 6, 9, 10})
        EXPECT_TRUE(calc().operators[static_cast<size_t>(op)]->isEnabled()) << op;
    EXPECT_TRUE(calc().operators[opCrc]->isChecked());
    EXPECT_EQ(calc().prompt->text(), "Input operands (e.g. 10,11,)");
    EXPECT_TRUE(calc().txtOperands->text().isEmpty());
}

TEST_F(CalculatorWindowTest, SingleOperandFieldTakesOneBytesDigits) {
    choose(ncHex, opNot);
    QTest::keyClicks(calc().txtOperands, "f,0f");
    EXPECT_EQ(calc().txtOperands->text(), "F0");
    calc().cmdCal->click();
    EXPECT_EQ(calc().txtResult->text(), "0F ");
}

TEST_F(CalculatorWindowTest, CalculateRunsTheFieldsCheckFirst) {
    // Typed past the field's checks: Not of 999 is no byte and gives no number.
    choose(ncDec, opNot);
    EXPECT_EQ(calculate("999"), "");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.texts(), QStringList{"Invalid data: data input must be within 1 byte"});

    boxes.clear();
    choose(ncDec, opSum);
    EXPECT_EQ(calculate("1,300,"), "");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Error:");
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Invalid data: Decimal code greater than 255"));
}

TEST_F(CalculatorWindowTest, FailuresAreToldAndLeaveNoResult) {
    choose(ncDec, opQuotient);
    EXPECT_EQ(calculate("10,0,"), "");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Calculator Error:");
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Error Number: 11\n"));

    boxes.clear();
    choose(ncDec, opSum);
    EXPECT_EQ(calculate("12"), "");
    EXPECT_EQ(boxes.texts(), QStringList{"Invalid data: no operand, please append (,) after each "
                                         "operand (e.g. 10,11,)!"});
}

TEST_F(CalculatorWindowTest, EnterCutsTheListAndCalculates) {
    choose(ncDec, opSum);
    calc().txtOperands->setText("1,2,3");
    QTest::keyClick(calc().txtOperands, Qt::Key_Return);
    EXPECT_EQ(calc().txtOperands->text(), "1,2,");
    EXPECT_EQ(calc().txtResult->text(), "3");
    EXPECT_TRUE(boxes.boxes().isEmpty());

    choose(ncHex, opNot);
    QTest::keyClick(calc().txtOperands, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(), QStringList{"Invalid data: data should be 1 byte only"});
}

TEST_F(CalculatorWindowTest, TypingClearsTheResultsAndClearEmptiesAll) {
    choose(ncDec, opQuotient);
    calculate("7,2,");
    EXPECT_EQ(calc().txtRemainder->text(), "1");
    QTest::keyClicks(calc().txtOperands, "5");
    EXPECT_TRUE(calc().txtResult->text().isEmpty());
    EXPECT_TRUE(calc().txtRemainder->text().isEmpty());
    EXPECT_TRUE(calc().cmdCheckSumClear->isEnabled());
    calculate("9,2,");
    calc().cmdCheckSumClear->click();
    EXPECT_TRUE(calc().txtOperands->text().isEmpty());
    EXPECT_TRUE(calc().txtResult->text().isEmpty());
    EXPECT_FALSE(calc().cmdCal->isEnabled());
}

TEST_F(CalculatorWindowTest, LeavingTheFieldChecksOnceAndKeepsTheFocus) {
    focusIn(calc().txtOperands);
    EXPECT_EQ(calc().txtOperands->palette().color(QPalette::Base), colorFromBgr(0xFFFF));
    calc().txtOperands->setText("1,1FF,2");
    conv().Text2->setFocus();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Error:");
    QCoreApplication::processEvents();
    EXPECT_TRUE(calc().txtOperands->hasFocus());

    // A click on Calculate is refused with the check: one box, no result.
    boxes.clear();
    QTest::mouseClick(calc().cmdCal, Qt::LeftButton);
    EXPECT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(calc().txtResult->text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return calc().txtOperands->hasFocus(); }, 2000));

    // A list that passes is cut to its operands and turns white.
    boxes.clear();
    QCoreApplication::processEvents();
    calc().txtOperands->setFocus();
    calc().txtOperands->setText("1,2,3");
    conv().Text2->setFocus();
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(calc().txtOperands->text(), "1,2,");
    EXPECT_EQ(calc().txtOperands->palette().color(QPalette::Base), colorFromBgr(0xFFFFFF));
}

TEST_F(CalculatorWindowTest, ClickingIntoAFieldSelectsAllOfIt) {
    focusIn(conv().Text2);
    calc().txtOperands->setText("1A,2B,");
    // The click that gives the focus places the caret after the field has heard of it.
    QTest::mouseClick(calc().txtOperands, Qt::LeftButton, {}, QPoint(2, 5));
    QCoreApplication::sendPostedEvents(calc().txtOperands);
    EXPECT_TRUE(calc().txtOperands->hasFocus());
    EXPECT_EQ(calc().txtOperands->selectedText(), "1A,2B,");
    EXPECT_EQ(calc().txtOperands->palette().color(QPalette::Base), colorFromBgr(0xFFFF));
}

TEST_F(CalculatorWindowTest, AnotherWindowTakingTheFocusChecksNothing) {
    focusIn(calc().txtOperands);
    calc().txtOperands->setText("1,1FF,2");
    // Another window (the main window, a box of the program) is no leaving of the field:
    // the field keeps the focus of its own window and is checked when it is left there.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(calc().txtOperands->text(), "1,1FF,2");
    EXPECT_EQ(window.focusWidget(), calc().txtOperands);
}

// ---------------------------------------------------------------------------------------
// The converter

TEST_F(CalculatorWindowTest, ConverterOpensFromDecimalToHexadecimal) {
    EXPECT_FALSE(conv().Command3->isEnabled());
    QTest::keyClicks(conv().Text2, "6a5,5356");
    EXPECT_EQ(conv().Text2->text(), "65535");
    conv().Command3->click();
    EXPECT_EQ(conv().Text1->text(), "FFFF");
    QTest::keyClick(conv().Text2, Qt::Key_Backspace);
    EXPECT_TRUE(conv().Text1->text().isEmpty());
}

TEST_F(CalculatorWindowTest, ConverterNotationsEmptyTheirBoxes) {
    conv().Text2->setText("12");
    conv().Command3->click();
    conv().Option4[3]->click();
    EXPECT_TRUE(conv().Text1->text().isEmpty());
    EXPECT_EQ(conv().Text2->text(), "12");
    EXPECT_TRUE(conv().Label8->isVisibleTo(&window));
    EXPECT_TRUE(conv().Label7->isVisibleTo(&window));
    conv().Command3->click();
    EXPECT_EQ(conv().Text1->text(), "1100");
    conv().Option3[1]->click();
    EXPECT_TRUE(conv().Text2->text().isEmpty());
    QTest::keyClicks(conv().Text2, "ffff1");
    QTest::keyClick(conv().Text2, Qt::Key_Return);
    EXPECT_EQ(conv().Text1->text(), "1111111111111111");
    conv().Option4[0]->click();
    EXPECT_FALSE(conv().Label8->isVisibleTo(&window));
    conv().Command4->click();
    EXPECT_TRUE(conv().Text2->text().isEmpty());
}

TEST_F(CalculatorWindowTest, ConverterRangeChecksRunOnEnterAndOnConvert) {
    QTest::keyClicks(conv().Text2, "65536");
    QTest::keyClick(conv().Text2, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(), QStringList{"Error: data over 2 bytes!"});
    EXPECT_TRUE(conv().Text1->text().isEmpty());
    boxes.clear();
    conv().Option4[0]->click();
    conv().Command3->click();
    EXPECT_EQ(boxes.texts(), QStringList{"Error: data over 2 bytes!"});
    EXPECT_TRUE(conv().Text1->text().isEmpty());
}

TEST_F(CalculatorWindowTest, ConverterLeavingChecksTheRange) {
    focusIn(conv().Text2);
    conv().Option3[2]->click();
    conv().Text2->setFocus();
    QTest::keyClicks(conv().Text2, "2000009");
    EXPECT_EQ(conv().Text2->text(), "200000");
    calc().txtOperands->setFocus();
    EXPECT_EQ(boxes.texts(), QStringList{"Error: data over 2 bytes!"});
    QCoreApplication::processEvents();
    EXPECT_TRUE(conv().Text2->hasFocus());
}

TEST(CalculatorWindows, EachWindowKeepsItsOwnState) {
    frmLogic first;
    frmLogic second;
    first.calculatorControls().notations[ncDec]->click();
    first.calculatorControls().operators[opSum]->click();
    second.calculatorControls().txtOperands->setText("1A,2B,");
    second.calculatorControls().cmdCal->click();
    EXPECT_EQ(second.calculatorControls().txtResult->text(), "A");
}

} // namespace
