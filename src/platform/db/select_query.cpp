#include "select_query.h"

#include "errors.h"

#include <QRegularExpression>

namespace kst::db {

namespace {

const QRegularExpression& grammar() {
    static const QRegularExpression re(
        QStringLiteral(
            R"(^\s*SELECT\s+\*\s+FROM\s+(\[[^\]\[]+\]|[A-Za-z_]\w*))"
            R"((?:\s+WHERE\s+(\[[^\]\[]+\]|[A-Za-z_]\w*)\s*)"
            R"((?:=\s*([+-]?\d{1,18})|\s+BETWEEN\s+([+-]?\d{1,18})\s+AND\s+([+-]?\d{1,18})))?)"
            R"(\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString unbracket(const QString& name) {
    return name.startsWith('[') ? name.mid(1, name.size() - 2) : name;
}

} // namespace

SelectQuery SelectQuery::parse(const QString& sql) {
    const QRegularExpressionMatch m = grammar().match(sql);
    if (!m.hasMatch())
        raise(err::SyntaxError, QString("Syntax error in query: \"%1\".").arg(sql));
    SelectQuery q;
    q.table = unbracket(m.captured(1));
    if (m.capturedLength(2) > 0) {
        q.column = unbracket(m.captured(2));
        if (m.capturedLength(3) > 0) {
            q.filter = Filter::Equals;
            q.first = q.last = m.captured(3).toLongLong();
        } else {
            q.filter = Filter::Between;
            q.first = m.captured(4).toLongLong();
            q.last = m.captured(5).toLongLong();
        }
    }
    return q;
}

} // namespace kst::db
