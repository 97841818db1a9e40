#include "tool_design.h"

#include <QHeaderView>
#include <QRadioButton>
#include <QTreeWidget>

namespace kst {

QString elementName(const QString& array, int index) {
    return array + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

template <std::size_t Count>
std::array<QRadioButton*, Count> makeNotationOptions(QWidget* frame, const QString& array, int top,
                                                     int height) {
    static constexpr std::array<const char*, 5> Captions = {"Dec", "Hex", "Oct", "Bin", "ASCII"};
    static_assert(Count <= Captions.size());
    std::array<QRadioButton*, Count> options{};
    for (std::size_t i = 0; i < Count; ++i) {
        options[i] = placed(new QRadioButton(QString::fromLatin1(Captions[i]), frame),
                            elementName(array, static_cast<int>(i)), 90 + 600 * static_cast<int>(i),
                            top, i == 4 ? 690 : 600, height);
    }
    return options;
}

template std::array<QRadioButton*, 4> makeNotationOptions<4>(QWidget*, const QString&, int, int);
template std::array<QRadioButton*, 5> makeNotationOptions<5>(QWidget*, const QString&, int, int);

std::array<QRadioButton*, 11> makeOperatorOptions(QWidget* frame, const QString& array) {
    struct OperatorOption {
        int index;
        const char* caption;
        int left, top, width;
    };
    static constexpr std::array<OperatorOption, 10> Operators = {
        {{0, "And", 90, 270, 720},
         {1, "Or", 810, 270, 600},
         {2, "xOr", 1410, 270, 660},
         {3, "+", 2070, 270, 480},
         {4, "-", 2550, 270, 480},
         {5, "x", 3030, 270, 480},
         {6, "\\, Mod", 90, 570, 900},
         {7, "CRC-16 (Modbus)", 1050, 570, 1650},
         {9, "Not", 2760, 570, 720},
         {10, "Rev. bit order", 90, 870, 1500}}};
    std::array<QRadioButton*, 11> options{};
    for (const OperatorOption& op : Operators) {
        options[static_cast<std::size_t>(op.index)] =
            placed(new QRadioButton(QString::fromLatin1(op.caption), frame),
                   elementName(array, op.index), op.left, op.top, op.width, 270);
    }
    return options;
}

void setUpChart(QTreeWidget* chart, const QStringList& columns) {
    chart->setHeaderLabels(columns);
    chart->setRootIsDecorated(false);
    chart->setUniformRowHeights(true);
    chart->setAllColumnsShowFocus(true);
    for (int column = 0; column + 1 < columns.size(); ++column)
        chart->header()->resizeSection(column, 52);
}

void useDesignFont(QWidget* window) {
    QFont font = window->font();
    font.setPointSize(8);
    font.setStretch(QFont::SemiCondensed);
    window->setFont(font);
}

} // namespace kst
