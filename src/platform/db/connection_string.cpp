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

// The text with every lone surrogate (a byte of a file name that is not UTF-8, see
// fileNameFromBytes) replaced by U+FFFD: the expressions match only valid UTF-16, and
// the positions they find are the same in both texts.
QString matchable(const QString& text) {
    QString valid = text;
    for (qsizetype i = 0; i < valid.size(); ++i) {
        const bool pairStart =
            valid[i].isHighSurrogate() && i + 1 < valid.size() && valid[i + 1].isLowSurrogate();
        if (pairStart)
            ++i;
        else if (valid[i].isSurrogate())
            valid[i] = QChar::ReplacementCharacter;
    }
    return valid;
}

} // namespace

ConnectionInfo ConnectionInfo::parse(const QString& connectionString) {
    const QString text = matchable(connectionString);
    const QRegularExpressionMatch source = dataSourceKey().match(text);
    if (!source.hasMatch())
        raise(err::CannotOpen, "The connection string names no data source.");
    const qsizetype valueStart = source.capturedEnd();

    // The last marker wins: a path may contain anything, the password is ours.
    qsizetype markerStart = -1;
    qsizetype markerEnd = -1;
    auto it = passwordKey().globalMatch(text, valueStart);
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
