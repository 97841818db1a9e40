#include "field_checks.h"

#include "notation/view/bgr_color.h"
#include "platform/services.h"
#include "storage/field_values.h"

#include <QLineEdit>
#include <QPalette>

namespace kst {

void highlightField(QWidget* field, bool on) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colorFromBgr(on ? 0xFFFFu : 0xFFFFFFu));
    field->setPalette(palette);
}

bool waitFieldInRange(const QLineEdit* field, bool isDelay) {
    if (LeadingNumber(field->text()) <= 65535)
        return true;
    msgBox(isDelay ? QStringLiteral("Maximum delay time is 65,535 ms, please try again!")
                   : QStringLiteral("Maximum interval time is 65,535 ms, please try again!"),
           MsgIcon::Critical);
    return false;
}

} // namespace kst
