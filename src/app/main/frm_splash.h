#pragma once

#include <QWidget>
#include <functional>

class QTimer;

namespace kst {

// The start-up window. Showing it starts Timer1 (1000 ms); the one tick closes the
// splash and runs the main window's load. A key pressed while it has the focus closes
// it without any load, so the program ends without a main window.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // The main window's load, run inside the timer's tick.
    void setLoad(std::function<void()> load) { load_ = std::move(load); }

    QTimer* Timer1() const { return timer1_; }
    void Timer1_Timer();
    void Form_KeyPress(int keyAscii);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTimer* timer1_;
    std::function<void()> load_;
    bool ticked_ = false;
};

} // namespace kst
