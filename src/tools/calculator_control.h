#pragma once

#include <QObject>
#include <QPalette>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kst {

class CheckedField;

struct Notice;

// The controls of one calculator: the main window's pane or the calculator window's frame.
struct CalculatorControls {
    QLineEdit* txtOperands = nullptr;
    QLineEdit* txtResult = nullptr;
    QLineEdit* txtRemainder = nullptr;
    QPushButton* cmdCal = nullptr;
    // The window's "Clear"; the pane has none.
    QPushButton* cmdCheckSumClear = nullptr;
    // Indexed by NotationCode and by CalcOperator (element 8 stays empty).
    std::array<QRadioButton*, 5> notations{};
    std::array<QRadioButton*, 11> operators{};
    // The caption above the operands (Label3).
    QLabel* prompt = nullptr;
    QLabel* lblQuotient = nullptr;
    QLabel* lblRemainder = nullptr;
    QLabel* lblModbus = nullptr;
    // The result box's width for "\, Mod" and for every other operator, in twips.
    int narrowResultWidth = 0;
    int wideResultWidth = 0;
};

// Drives one calculator's controls: the choice of notation and operator and how the
// instance shows them, the operand field's keys and checks, and each calculation. The
// notation and operator are held where the owner keeps them (CalcNotation,
// CalcOperation).
class CalculatorControl : public QObject {
    Q_OBJECT
public:
    CalculatorControl(const CalculatorControls& controls, int& calcNotation, int& calcOperation);

    // The state the instance opens with: Hex and And, the wide result, no remainder.
    void reset();

    void cmdCal_Click();
    // The operand notation (Option4 in the pane, Option1 in the window).
    void notation_Click(int Index);
    // The operator (Option5 in the pane, Option2 in the window).
    void operator_Click(int Index);
    void txtOperands_Change();
    void cmdCheckSumClear_Click();

private:
    void txtOperands_Enter();
    bool txtOperands_Validate();
    void txtOperands_LostFocus();
    void layOut(int op);
    void limitOperands();
    void refuse(const Notice& notice);

    CalculatorControls ui_;
    CheckedField* operands_ = nullptr;
    int& notation_;
    int& operation_;
    QPalette crcOptionPalette_;
};

} // namespace kst
