#include "frm_ascii.h"

#include "char_chart_rows.h"
#include "tool_design.h"

#include <QLabel>
#include <QTreeWidget>

namespace kst {

frmAscII::frmAscII(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmAscII"));
    setAttribute(Qt::WA_DeleteOnClose);
    useDesignFont(this);
    setWindowTitle(QStringLiteral("AscII chart"));
    setFixedSize(toPixels(4440), toPixels(6240));
    placed(new QLabel(QStringLiteral("AscII chart"), this), QStringLiteral("Label1"), 120, 120,
           4200, 255);
    ListView1_ = placed(new QTreeWidget(this), QStringLiteral("ListView1"), 120, 480, 4200, 5640);
    setUpChart(ListView1_, {"Ctrl", "Dec", "Hex", "Char", "Code"});
    FillAsciiTable();
}

void frmAscII::FillAsciiTable() {
    for (int code = 0; code < 256; ++code)
        ListView1_->addTopLevelItem(new QTreeWidgetItem(asciiChartRow(code)));
}

} // namespace kst
