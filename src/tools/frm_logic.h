#pragma once

#include "calculator_control.h"
#include "converter_control.h"

#include <QWidget>
#include <memory>

namespace kst {

// The window "Checksum Calculator / Notation Converter": a calculator of its own beside
// the main window's pane, and the notation converter. Modeless; it goes when closed.
class frmLogic : public QWidget {
    Q_OBJECT
public:
    explicit frmLogic(QWidget* owner = nullptr);
    ~frmLogic() override;

    const CalculatorControls& calculatorControls() const { return calculatorUi_; }
    const ConverterControls& converterControls() const { return converterUi_; }

private:
    void buildCalculator();
    void buildConverter();
    void Form_Load();

    CalculatorControls calculatorUi_;
    ConverterControls converterUi_;
    // The calculator's CalcNotation and CalcOperation.
    int calcNotation_ = 1;
    int calcOperation_ = 0;
    std::unique_ptr<CalculatorControl> calculator_;
    std::unique_ptr<ConverterControl> converter_;
};

} // namespace kst
