#pragma once

#include <QWidget>

class QTreeWidget;

namespace kst {

// The window "AscII chart": all 256 codes with their caret forms, numbers, characters
// and control-code mnemonics. Modeless; it goes when closed and is filled anew each time
// it is opened.
class frmAscII : public QWidget {
    Q_OBJECT
public:
    explicit frmAscII(QWidget* owner = nullptr);

    QTreeWidget* chart() const { return ListView1_; }

    // Appends the 256 rows to the chart, in code order.
    void FillAsciiTable();

private:
    QTreeWidget* ListView1_;
};

} // namespace kst
