#include "calculator_control.h"

#include "checksum_calculator.h"
#include "notation/notation.h"
#include "platform/desktop/bgr_color.h"
#include "platform/desktop/checked_field.h"
#include "tool_design.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

namespace {

constexpr quint32 ModbusColor = 0x40C0;
// The operators that take bytes in a notation of digits only.
constexpr std::array<int, 9> DigitOperators = {
    opAnd, opOr, opXor, opSum, opDifference, opProduct, opQuotient, opNot, opReverseBits};

} // namespace

CalculatorControl::CalculatorControl(const CalculatorControls& controls, int& calcNotation,
                                     int& calcOperation)
    : ui_(controls), notation_(calcNotation), operation_(calcOperation),
      crcOptionPalette_(controls.operators[opCrc]->palette()) {
    operands_ = new CheckedField(
        ui_.txtOperands,
        {.key = [this](QChar typed) { return operandKey(typed, notation_, operation_); },
         .enter = [this] { txtOperands_Enter(); },
         .validate = [this] { return txtOperands_Validate(); },
         .lostFocus = [this] { txtOperands_LostFocus(); }},
        this);
    for (int i = 0; i < static_cast<int>(ui_.notations.size()); ++i) {
        connect(ui_.notations[static_cast<size_t>(i)], &QRadioButton::toggled, this,
                [this, i](bool on) {
                    if (on)
                        notation_Click(i);
                });
    }
    for (int i = 0; i < static_cast<int>(ui_.operators.size()); ++i) {
        if (QRadioButton* option = ui_.operators[static_cast<size_t>(i)]) {
            connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
                if (on)
                    operator_Click(i);
            });
        }
    }
    connect(ui_.cmdCal, &QPushButton::clicked, this, [this] { cmdCal_Click(); });
    connect(ui_.txtOperands, &QLineEdit::textChanged, this, [this] { txtOperands_Change(); });
    if (ui_.cmdCheckSumClear) {
        connect(ui_.cmdCheckSumClear, &QPushButton::clicked, this,
                [this] { cmdCheckSumClear_Click(); });
    }
}

void CalculatorControl::reset() {
    notation_ = ncHex;
    operation_ = opAnd;
    ui_.txtResult->resize(toPixels(ui_.wideResultWidth), ui_.txtResult->height());
    ui_.txtRemainder->hide();
    ui_.lblQuotient->hide();
    ui_.lblRemainder->hide();
}

// ---------------------------------------------------------------------------------------
// Calculating

void CalculatorControl::cmdCal_Click() {
    ui_.txtResult->clear();
    const QString operands = ui_.txtOperands->text();
    // The field's own check runs here too: Calculate is no way round it.
    if (const std::optional<Notice> refusal = operandRefusal(operands, notation_, operation_)) {
        refuse(*refusal);
        return;
    }
    const CalcOutcome outcome = Calculate(operands, notation_, operation_);
    if (outcome.kind != CalcOutcome::Kind::Result) {
        refuse(outcome.notice());
        return;
    }
    ui_.txtResult->setText(outcome.result);
    if (operation_ == opQuotient)
        ui_.txtRemainder->setText(outcome.remainder);
}

void CalculatorControl::refuse(const Notice& notice) {
    notice.show();
    ui_.txtResult->clear();
    ui_.txtOperands->setFocus();
}

// ---------------------------------------------------------------------------------------
// Notation and operator

void CalculatorControl::notation_Click(int Index) {
    notation_ = Index;
    ui_.txtResult->clear();
    ui_.txtOperands->clear();
    // ASCII text has only a CRC.
    const bool digits = Index != ncAscii;
    for (int op : DigitOperators)
        ui_.operators[static_cast<size_t>(op)]->setEnabled(digits);
    if (!digits)
        ui_.operators[opCrc]->setChecked(true);
    ui_.prompt->setText(operandPrompt(notation_, operation_));
    limitOperands();
}

void CalculatorControl::operator_Click(int Index) {
    operation_ = Index;
    ui_.txtResult->clear();
    ui_.txtOperands->clear();
    layOut(Index);
    ui_.prompt->setText(operandPrompt(notation_, operation_));
    limitOperands();
}

void CalculatorControl::layOut(int op) {
    const OperatorLayout layout = operatorLayout(op);
    ui_.txtResult->resize(
        toPixels(layout.narrowResult ? ui_.narrowResultWidth : ui_.wideResultWidth),
        ui_.txtResult->height());
    ui_.txtRemainder->clear();
    ui_.txtRemainder->setVisible(layout.remainderShown);
    const bool captions = !layout.quotientCaption.isEmpty();
    ui_.lblQuotient->setText(layout.quotientCaption);
    ui_.lblRemainder->setText(layout.remainderCaption);
    ui_.lblQuotient->setVisible(captions);
    ui_.lblRemainder->setVisible(captions);
    ui_.lblModbus->setVisible(layout.modbusNote);
    QPalette palette = crcOptionPalette_;
    if (op == opCrc)
        palette.setColor(QPalette::WindowText, colorFromBgr(ModbusColor));
    ui_.operators[opCrc]->setPalette(palette);
}

void CalculatorControl::limitOperands() {
    operands_->setTypingLimit(operandMaxLength(notation_, operation_));
}

// ---------------------------------------------------------------------------------------
// The operand field

void CalculatorControl::txtOperands_Change() {
    const bool any = !ui_.txtOperands->text().isEmpty();
    ui_.cmdCal->setEnabled(any);
    if (ui_.cmdCheckSumClear)
        ui_.cmdCheckSumClear->setEnabled(any);
    ui_.txtResult->clear();
    ui_.txtRemainder->clear();
}

void CalculatorControl::cmdCheckSumClear_Click() {
    ui_.txtOperands->clear();
    ui_.txtResult->clear();
    ui_.txtRemainder->clear();
}

void CalculatorControl::txtOperands_Enter() {
    if (cutsOnEnter(notation_, operation_)) {
        ui_.txtOperands->setText(cutToOperands(ui_.txtOperands->text()));
        ui_.txtOperands->end(false);
    }
    if (passes(enterRefusal(ui_.txtOperands->text(), notation_, operation_)))
        cmdCal_Click();
}

bool CalculatorControl::txtOperands_Validate() {
    return passes(operandRefusal(ui_.txtOperands->text(), notation_, operation_));
}

void CalculatorControl::txtOperands_LostFocus() {
    if (!cutsOnLeave(notation_, operation_))
        return;
    const QString operands = cutToOperands(ui_.txtOperands->text());
    if (operands != ui_.txtOperands->text())
        ui_.txtOperands->setText(operands);
}

} // namespace kst
