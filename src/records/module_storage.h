#pragma once

// The nine module databases: their files, their columns, the connection
// string, the word lists. The one place that fixes these names.

#include <QString>
#include <QStringList>

#include "platform/ado.h"

#include <string>
#include <vector>

namespace records {

struct ModuleTable {
    QString fileName;    // in the folder database beside the executable
    QStringList columns; // the table's own column order; 编号 first
};

// The modules in the order their windows are created.
const std::vector<ModuleTable>& moduleTables();

// A module's table by its file name; null for another name.
const ModuleTable* moduleTable(const QString& fileName);

// The columns of a module's table, by its file name; none for another name.
const QStringList& moduleColumns(const QString& fileName);

// The folder of the module databases, and one database's path.
QString databaseFolder();
QString databasePath(const QString& fileName);

// The connection string of a module database: the Jet provider, an empty
// password, the Data Source below the executable's folder, persisted security
// information.
std::string connectionString(const QString& appDir, const QString& fileName);

// The statement that makes a module's empty table: 编号 numbered by the
// database, 时间 defaulting to the local date and time in the regional form
// (2026-12-9 4:05:07), every other column text.
std::string createTableStatement(const ModuleTable& table,
                                 platform::SqlDialect dialect = platform::SqlDialect::Sqlite);

// The schema that holds a module's table on a server: its file name without
// the extension (销售记录).
std::string serverSchema(const QString& fileName);

// Points a connection at a module's books: the server of marvanto.conf, in
// the module's schema, or else its file in the data folder; either way with
// the module's required columns.
void configureConnection(platform::AdoConnection& connection, const QString& fileName);

// Word lists beside the executable.
namespace wordlists {
inline const QString StaffNames = QStringLiteral("员工姓名列表.txt");
inline const QString GoodsNames = QStringLiteral("商品名称列表.txt");
inline const QString Amounts = QStringLiteral("常用金额列表.txt");
} // namespace wordlists

} // namespace records
