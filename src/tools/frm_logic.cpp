#include "frm_logic.h"

#include "platform/desktop/bgr_color.h"
#include "tool_design.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

namespace {

constexpr int NarrowResult = 2835;
constexpr int WideResult = 4185;

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height) {
    return placed(new QGroupBox(caption, parent), name, left, top, width, height);
}
QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
              int width) {
    return placed(new QLabel(caption, parent), name, left, top, width, 210);
}
QLineEdit* textBox(QWidget* parent, const QString& name, int left, int top, int width) {
    return placed(new QLineEdit(parent), name, left, top, width, 300);
}
QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left,
                    int top) {
    auto* pushButton = placed(new QPushButton(caption, parent), name, left, top, 1080, 345);
    pushButton->setEnabled(false); // until there is something to work on
    return pushButton;
}

} // namespace

frmLogic::frmLogic(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmLogic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Checksum Calculator / Notation Converter"));
    useDesignFont(this);
    setFixedSize(toPixels(9720), toPixels(4740));
    buildCalculator();
    buildConverter();
    calculator_ = std::make_unique<CalculatorControl>(calculatorUi_, calcNotation_, calcOperation_);
    converter_ = std::make_unique<ConverterControl>(converterUi_);
    Form_Load();
}

frmLogic::~frmLogic() = default;

void frmLogic::Form_Load() {
    calculator_->reset();
    converter_->Form_Load();
}

void frmLogic::buildCalculator() {
    CalculatorControls& ui = calculatorUi_;
    QGroupBox* calc = frame(this, QStringLiteral("fraCalculator"),
                            QStringLiteral("Checksum Calculator"), 120, 120, 5160, 4500);
    ui.prompt = label(calc, QStringLiteral("Label3"),
                      QStringLiteral("Input operands (e.g. 10,11,)"), 120, 270, 4900);
    ui.txtOperands = textBox(calc, QStringLiteral("txtOperands"), 120, 510, 4900);
    QGroupBox* notation = frame(calc, QStringLiteral("fraOperandsFormat"),
                                QStringLiteral("Operands format"), 120, 900, 4900, 600);
    ui.notations = makeNotationOptions<5>(notation, QStringLiteral("Option1"), 270, 270);
    ui.notations[1]->setChecked(true);
    QGroupBox* operators = frame(calc, QStringLiteral("fraOperator"), QStringLiteral("Operator"),
                                 120, 1560, 4900, 1260);
    ui.operators = makeOperatorOptions(operators, QStringLiteral("Option2"));
    ui.operators[0]->setChecked(true);
    ui.cmdCal = button(calc, QStringLiteral("cmdCal"), QStringLiteral("Calculate"), 120, 2910);
    ui.cmdCheckSumClear =
        button(calc, QStringLiteral("cmdCheckSumClear"), QStringLiteral("Clear"), 1260, 2910);
    ui.lblModbus =
        label(calc, QStringLiteral("lblModbus"),
              QStringLiteral("Note: Append low-order byte first in Modbus"), 120, 3360, 4900);
    QPalette palette = ui.lblModbus->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(0x40C0));
    ui.lblModbus->setPalette(palette);
    ui.lblModbus->hide();
    label(calc, QStringLiteral("Label2"), QStringLiteral("Result"), 120, 3930, 600);
    ui.lblQuotient = label(calc, QStringLiteral("lblQuotient"), QString(), 780, 3630, NarrowResult);
    ui.lblRemainder =
        label(calc, QStringLiteral("lblRemainder"), QString(), 780 + NarrowResult + 60, 3630, 1365);
    ui.txtResult = textBox(calc, QStringLiteral("txtResult"), 780, 3870, WideResult);
    ui.txtRemainder =
        textBox(calc, QStringLiteral("txtRemainder"), 780 + NarrowResult + 60, 3870, 1365);
    ui.narrowResultWidth = NarrowResult;
    ui.wideResultWidth = WideResult;
}

void frmLogic::buildConverter() {
    ConverterControls& ui = converterUi_;
    QGroupBox* converter = frame(this, QStringLiteral("fraConverter"),
                                 QStringLiteral("Notation Converter"), 5400, 120, 4200, 4500);
    QGroupBox* from =
        frame(converter, QStringLiteral("fraFrom"), QStringLiteral("From"), 120, 270, 3960, 1800);
    label(from, QStringLiteral("Label6"), QStringLiteral("Operands (e.g. 100)"), 120, 270, 3720);
    ui.Text2 = textBox(from, QStringLiteral("Text2"), 120, 510, 3720);
    QGroupBox* fromNotation = frame(from, QStringLiteral("fraFromNotation"),
                                    QStringLiteral("Data notation"), 120, 960, 3720, 600);
    ui.Option3 = makeNotationOptions<4>(fromNotation, QStringLiteral("Option3"), 270, 270);
    ui.Option3[0]->setChecked(true);

    QGroupBox* to =
        frame(converter, QStringLiteral("fraTo"), QStringLiteral("To"), 120, 2160, 3960, 1800);
    label(to, QStringLiteral("Label5"), QStringLiteral("Result"), 120, 270, 1200);
    ui.Label8 = label(to, QStringLiteral("Label8"), QStringLiteral("(MSB)"), 120, 510, 600);
    ui.Label7 = label(to, QStringLiteral("Label7"), QStringLiteral("(LSB)"), 3240, 510, 600);
    ui.Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui.Label8->hide();
    ui.Label7->hide();
    ui.Text1 = textBox(to, QStringLiteral("Text1"), 120, 750, 3720);
    QGroupBox* toNotation = frame(to, QStringLiteral("fraToNotation"),
                                  QStringLiteral("Data notation"), 120, 1110, 3720, 600);
    ui.Option4 = makeNotationOptions<4>(toNotation, QStringLiteral("Option4"), 270, 270);
    ui.Option4[1]->setChecked(true);

    ui.Command3 =
        button(converter, QStringLiteral("Command3"), QStringLiteral("Calculate"), 120, 4050);
    ui.Command4 =
        button(converter, QStringLiteral("Command4"), QStringLiteral("Clear"), 1260, 4050);
}

} // namespace kst
