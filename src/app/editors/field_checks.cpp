#include "app/editors/field_checks.h"

#include "platform/services.h"
#include "storage/field_values.h"

#include <QLineEdit>

namespace kst {

bool waitFieldInRange(const QLineEdit* field, bool isDelay) {
    if (LeadingNumber(field->text()) <= 65535)
        return true;
    msgBox(isDelay ? QStringLiteral("Maximum delay time is 65,535 ms, please try again!")
                   : QStringLiteral("Maximum interval time is 65,535 ms, please try again!"),
           MsgIcon::Critical);
    return false;
}

} // namespace kst
