#include "failure_box.h"

#include "runtime_error.h"
#include "services.h"

namespace kst {

OneFailureBox::OneFailureBox(QString title, QString numberLabel, Note note)
    : title_(std::move(title)), numberLabel_(std::move(numberLabel)), note_(std::move(note)) {}

void OneFailureBox::report(const RunTimeError& error) {
    if (open_) {
        note_(title_ + u' ' + failureText(error.number(), error.description(), numberLabel_));
        return;
    }
    open_ = true;
    showFailure(title_, error, numberLabel_);
    open_ = false;
}

} // namespace kst
