#pragma once

// The nine module databases: their files, their columns, the connection
// string, the word lists. The one place that fixes these names.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace records {

struct ModuleTable {
    QString fileName;    // in the folder database beside the executable
    QStringList columns; // the table's own column order; 编号 first
};

// The modules in the order their windows are created.
const std::vector<ModuleTable>& moduleTables();

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
std::string createTableStatement(const ModuleTable& table);

// Word lists beside the executable.
namespace wordlists {
inline const QString StaffNames = QStringLiteral("员工姓名列表.txt");
inline const QString GoodsNames = QStringLiteral("商品名称列表.txt");
inline const QString Amounts = QStringLiteral("常用金额列表.txt");
} // namespace wordlists

} // namespace records
