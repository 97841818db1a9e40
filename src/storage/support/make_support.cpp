// Builds the support database from its JSON description:
//   kst_make_support <templates.json> <output file>
// The file is written beside the output under a temporary name and renamed at the
// end, so a failed run never leaves a half-made support database behind.

#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "storage/profile_schema.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

using kst::db::ColumnDef;
using kst::db::ColumnKind;
using kst::db::TableDef;
using kst::db::Value;

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

Value kindDefault(const ColumnDef& column) {
    switch (column.kind) {
    case ColumnKind::YesNo:
        return Value(false);
    case ColumnKind::Integer:
    case ColumnKind::Long:
        return Value(0);
    default:
        return Value(QString());
    }
}

Value fromJson(const QJsonValue& json, const QString& where) {
    switch (json.type()) {
    case QJsonValue::Null:
        return Value();
    case QJsonValue::Bool:
        return Value(json.toBool());
    case QJsonValue::Double: {
        const double d = json.toDouble();
        if (!(d >= -2147483648.0 && d <= 4294967295.0) || d != std::trunc(d))
            fail(where + ": only whole numbers of at most 32 bits are stored");
        return Value(static_cast<qint64>(d));
    }
    case QJsonValue::String:
        return Value(json.toString());
    default:
        fail(where + ": a value must be text, a number, true/false or null");
    }
}

// The values of one row by ordinal: defaults of the column kinds, then the row's own.
std::vector<Value> rowValues(const TableDef& table, const QJsonObject& row) {
    std::vector<Value> values;
    for (const ColumnDef& column : table.columns)
        values.push_back(kindDefault(column));
    for (auto it = row.begin(); it != row.end(); ++it) {
        const int ordinal = table.ordinalOf(it.key());
        if (ordinal <= 0)
            fail(QString("%1 has no column '%2' that can be given").arg(table.name, it.key()));
        values[ordinal] = fromJson(it.value(), table.name + "." + it.key());
    }
    return values;
}

void fillTable(const kst::db::ConnectionInfo& info, const TableDef& table,
               const QJsonObject& rowsGiven) {
    const QJsonArray rows = rowsGiven.value("rows").toArray();
    const int count =
        rowsGiven.contains("count") ? rowsGiven.value("count").toInt(-1) : rows.size();
    if (count < rows.size())
        fail(table.name + ": 'count' is smaller than the rows given");
    kst::db::Recordset rs;
    rs.open("SELECT * FROM " + table.name, info);
    for (int r = 0; r < count; ++r) {
        const std::vector<Value> values =
            rowValues(table, r < rows.size() ? rows[r].toObject() : QJsonObject());
        rs.addNew();
        for (size_t k = 1; k < values.size(); ++k)
            rs.setValue(static_cast<int>(k), values[k]);
    }
    rs.updateBatch();
    rs.close();
}

void build(const QString& jsonPath, const QString& outputPath) {
    QFile jsonFile(jsonPath);
    if (!jsonFile.open(QIODevice::ReadOnly))
        fail(jsonPath + ": " + jsonFile.errorString());
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(jsonFile.readAll(), &parseError);
    if (doc.isNull())
        fail(jsonPath + ": " + parseError.errorString());

    std::vector<TableDef> tables = kst::profileTables();
    tables.push_back(kst::userPreferencesTable());
    QHash<QString, QJsonObject> given;
    for (const QJsonValue& t : doc.object().value("tables").toArray())
        given.insert(t.toObject().value("name").toString(), t.toObject());
    for (const TableDef& table : tables) {
        if (!given.contains(table.name))
            fail(jsonPath + ": no rows are given for " + table.name);
    }
    if (given.size() != static_cast<qsizetype>(tables.size()))
        fail(jsonPath + ": names a table the support database does not have");

    const kst::db::ConnectionInfo info{outputPath + ".tmp", kst::SupportPassword};
    QFile::remove(info.dataSource);
    try {
        {
            kst::db::Catalog catalog = kst::db::Catalog::create(info);
            for (const TableDef& table : tables)
                catalog.appendTable(table);
        }
        for (const TableDef& table : tables)
            fillTable(info, table, given.value(table.name));
    } catch (...) {
        QFile::remove(info.dataSource);
        throw;
    }
    QFile::remove(outputPath);
    if (!QFile::rename(info.dataSource, outputPath))
        fail("cannot rename " + info.dataSource + " to " + outputPath);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <templates.json> <output file>\n", argv[0]);
        return 2;
    }
    try {
        build(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kst_make_support: %s\n", e.what());
        return 1;
    }
    return 0;
}
