#pragma once

#include <QObject>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kst {

class CheckedField;

// The notation converter's controls in the calculator window.
struct ConverterControls {
    QLineEdit* Text2 = nullptr; // the input
    QLineEdit* Text1 = nullptr; // the result
    // Indexed by NotationCode 0 to 3.
    std::array<QRadioButton*, 4> Option3{}; // the input's notation
    std::array<QRadioButton*, 4> Option4{}; // the result's notation
    QLabel* Label8 = nullptr;               // "(MSB)"
    QLabel* Label7 = nullptr;               // "(LSB)"
    QPushButton* Command3 = nullptr;        // "Calculate"
    QPushButton* Command4 = nullptr;        // "Clear"
};

// Drives the notation converter: the two notations, the input's keys and range checks,
// and the conversion.
class ConverterControl : public QObject {
    Q_OBJECT
public:
    explicit ConverterControl(const ConverterControls& controls);

    // The state the window opens with: from Dec, to Hex, both boxes empty.
    void Form_Load();
    void Option3_Click(int Index);
    void Option4_Click(int Index);
    void Command3_Click();
    void Command4_Click();
    void Text2_Change();

private:
    void Text2_Enter();
    bool Text2_Validate();

    ConverterControls ui_;
    CheckedField* input_ = nullptr;
    int fromNotation_ = 0;
    int toNotation_ = 1;
};

} // namespace kst
