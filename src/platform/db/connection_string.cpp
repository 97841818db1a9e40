#include "connection_string.h"

#include "errors.h"

#include <QRegularExpression>

namespace kst::db {

namespace {

const QRegularExpression& dataSourceKey() {
    static const QRegularExpression re(QStringLiteral(R"((?:^|;)\s*Data\s+Source\s*=)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& passwordKey() {
    static const QRegularExpression re(QStringLiteral(R"(;\s*Jet\s+OLEDB:Database\s+Password\s*=)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

ConnectionInfo ConnectionInfo::parse(const QString& connectionString) {
    const QRegularExpressionMatch source = dataSourceKey().match(connectionString);
    if (!source.hasMatch())
        raise(err::CannotOpen, "The connection string names no data source.");
    const qsizetype valueStart = source.capturedEnd();

    // The last marker wins: a path may contain anything, the password is ours.
    qsizetype markerStart = -1;
    qsizetype markerEnd = -1;
    auto it = passwordKey().globalMatch(connectionString, valueStart);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        markerStart = m.capturedStart();
        markerEnd = m.capturedEnd();
    }

    ConnectionInfo info;
    if (markerStart < 0) {
        info.dataSource = connectionString.mid(valueStart).trimmed();
    } else {
        info.dataSource = connectionString.mid(valueStart, markerStart - valueStart).trimmed();
        info.password = connectionString.mid(markerEnd).trimmed();
    }
    if (info.dataSource.isEmpty())
        raise(err::CannotOpen, "The connection string names no data source.");
    return info;
}

QString ConnectionInfo::toString() const {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dataSource +
           "; JET OLEDB:Database password = " + password;
}

} // namespace kst::db
