#include "records/module_storage.h"

#include "platform/ado.h"
#include "platform/data_dir.h"
#include "platform/server_conf.h"

namespace records {

const std::vector<ModuleTable>& moduleTables() {
    static const std::vector<ModuleTable> tables = {
        {QStringLiteral("销售记录.mdb"), {"编号", "商品", "金额", "时间", "出货人", "备注"}},
        {QStringLiteral("进货记录.mdb"), {"编号", "商品", "数量", "进价", "总价", "时间", "备注"}},
        {QStringLiteral("记事本.mdb"), {"编号", "标题", "备注", "时间"}},
        {QStringLiteral("汇款记录.mdb"), {"编号", "金额", "时间", "备注"}},
        {QStringLiteral("员工请假记录.mdb"), {"编号", "姓名", "时间", "备注"}},
        {QStringLiteral("员工工资发放记录.mdb"), {"编号", "姓名", "金额", "时间", "备注"}},
        {QStringLiteral("客户通讯录.mdb"), {"编号", "姓名", "电话", "地址", "时间", "备注"}},
        {QStringLiteral("电费记录.mdb"), {"编号", "金额", "度数", "备注", "时间"}},
        {QStringLiteral("备忘录.mdb"), {"编号", "标题", "备注", "时间"}},
    };
    return tables;
}

const QStringList& moduleColumns(const QString& fileName) {
    static const QStringList none;
    const ModuleTable* table = moduleTable(fileName);
    return table ? table->columns : none;
}

QString databaseFolder() {
    return platform::dataPath(QStringLiteral("database/"));
}

QString databasePath(const QString& fileName) {
    return databaseFolder() + fileName;
}

std::string connectionString(const QString& appDir, const QString& fileName) {
    QString folder = appDir;
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return (QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + folder +
            QStringLiteral("database\\") + fileName + QStringLiteral(";Persist Security Info=True"))
        .toStdString();
}

std::string createTableStatement(const ModuleTable& table, platform::SqlDialect dialect) {
    std::string sql = "CREATE TABLE data (";
    bool firstColumn = true;
    for (const QString& column : table.columns) {
        if (!firstColumn)
            sql += ", ";
        firstColumn = false;
        sql += column.toStdString();
        if (column == QStringLiteral("编号"))
            sql += " " + platform::keyColumnDefinition(dialect);
        else if (column == QStringLiteral("时间"))
            sql += " TEXT DEFAULT " + platform::localNowExpression(dialect);
        else
            sql += " TEXT";
    }
    return sql + ")";
}

const ModuleTable* moduleTable(const QString& fileName) {
    for (const ModuleTable& table : moduleTables()) {
        if (table.fileName == fileName)
            return &table;
    }
    return nullptr;
}

std::string serverSchema(const QString& fileName) {
    QString schema = fileName;
    if (schema.endsWith(QStringLiteral(".mdb")))
        schema.chop(4);
    return schema.toStdString();
}

void configureConnection(platform::AdoConnection& connection, const QString& fileName) {
    std::vector<std::string> columns;
    for (const QString& column : moduleColumns(fileName))
        columns.push_back(column.toStdString());
    if (const std::string url = platform::serverUrl(); !url.empty()) {
        platform::requireServerUri(url);
        connection.setConnectionString(url);
        const ModuleTable* table = moduleTable(fileName);
        connection.setServerSchema(
            serverSchema(fileName),
            table ? createTableStatement(*table, platform::SqlDialect::Postgres) : std::string());
    } else {
        connection.setConnectionString(connectionString(platform::dataDir(), fileName));
    }
    connection.setRequiredColumns("data", std::move(columns));
}

} // namespace records
