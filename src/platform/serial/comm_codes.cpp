#include "comm_codes.h"

namespace kst::comm {

QString commErrorDescription(int number) {
    switch (number) {
    case errInvalidPortNumber:
        return "Invalid port number";
    case errPortAlreadyOpen:
        return "Port already open";
    case errHardwareNotAvailable:
        return "The hardware is not available";
    case errCommStateInvalid:
        return "Could not set comm state, there may be one or more invalid communication "
               "parameters";
    case errPortNotOpen:
        return "Operation valid only when the port is open";
    default:
        return RunTimeError::standardDescription(number);
    }
}

RunTimeError commError(int number, const QString& detail) {
    QString text = commErrorDescription(number);
    if (!detail.isEmpty())
        text += " (" + detail + ")";
    return RunTimeError(number, text);
}

} // namespace kst::comm
