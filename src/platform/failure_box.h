#pragma once

#include <QString>
#include <functional>

namespace kst {

class RunTimeError;

// The failure box of an engine that runs on every received block. A box is modal, and
// while it is open the line keeps coming: failures then go to the log instead, so a
// fast line never stacks one box on another.
class OneFailureBox {
public:
    using Note = std::function<void(const QString&)>;
    // `title`, `numberLabel`: as the failure box names them; `note`: where the failures
    // go while the box is open.
    OneFailureBox(QString title, QString numberLabel, Note note);

    void report(const RunTimeError& error);

private:
    QString title_;
    QString numberLabel_;
    Note note_;
    bool open_ = false;
};

} // namespace kst
