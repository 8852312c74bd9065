// bench_export [ROWS]
// Times the export of the sales list (default 100 000 rows) to .xlsx and to
// .docx through the sales export: the query walked, the fields typed, every
// call late-bound. The reference is the same calls made directly on the
// servers from values prepared in memory, so the ratio is the cost of the
// export itself. Target: each export under 5 s.

#include "automation_exports.h"

#include "platform/ado.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/result_model.h"
#include "sales/export.h"

#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

const QString SalesFile = QStringLiteral("销售记录.mdb");

bool makeSales(const QString& path, int rows) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    const records::ModuleTable* sales = nullptr;
    for (const records::ModuleTable& table : records::moduleTables()) {
        if (table.fileName == SalesFile)
            sales = &table;
    }
    const std::string fill =
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
        std::to_string(rows) +
        ") insert into data (商品,金额,时间,出货人,备注) select '商品' || (i % 97), "
        "cast(i % 1000 as text), '2009-' || (i % 12 + 1) || '-' || (i % 28 + 1) || ' ' || "
        "(i % 24) || ':05:07', '张三', case when i % 3 = 0 then null else '备注 ' || i end "
        "from n";
    const bool made = sales &&
                      sqlite3_exec(db, records::createTableStatement(*sales).c_str(), nullptr,
                                   nullptr, nullptr) == SQLITE_OK &&
                      sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return made;
}

qint64 timed(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return timer.elapsed();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir folder;
    const QString database = folder.filePath(SalesFile);
    if (!makeSales(database, rows)) {
        std::fprintf(stderr, "bench_export: cannot make the sales database\n");
        return 1;
    }
    platform::AdoConnection connection;
    connection.setConnectionString("Data Source=" + database.toStdString());
    connection.open();
    platform::AdoQuery query(connection);
    records::ResultModel model(query);
    query.setListener([&model](platform::AdoQuery::Change change) {
        if (change == platform::AdoQuery::Change::Result)
            model.reload();
    });
    QTableView grid;
    grid.setModel(&model);
    query.setSql(records::salesDescriptor().listQuery.toStdString());
    query.open();

    QStringList messages;
    platform::setMessageBoxAnswerer([&messages](const QString& text, const QString&, unsigned) {
        messages << text;
        return platform::IdOk;
    });
    QString target;
    platform::setSaveDialogAnswerer(
        [&target](const QString&) -> std::optional<QString> { return target; });
    platform::SaveDialog dialog;

    // The reference: the same values, prepared, straight to the servers.
    QStringList header;
    for (const std::string& name : query.result().fieldNames())
        header << QString::fromStdString(name);
    QList<QVariantList> values;
    QList<QStringList> texts;
    for (int row = 0; row < query.recordCount(); ++row) {
        QVariantList typed;
        QStringList plain;
        for (int field = 0; field < query.fieldCount(); ++field) {
            typed << sales::typedFieldValue(query.result(), row, field);
            const std::string_view cell = query.result().cell(row, field);
            plain << QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
        }
        values << typed;
        texts << plain;
    }

    struct Run {
        const char* what;
        qint64 reference;
        qint64 exported;
        qint64 bytes;
    };
    QList<Run> runs;
    {
        const QString direct = folder.filePath(QStringLiteral("direct.xlsx"));
        const qint64 reference =
            timed([&] { automationexports::exportSheet(header, values, direct); });
        target = folder.filePath(QStringLiteral("sales.xlsx"));
        const qint64 exported = timed([&] { sales::exportToSpreadsheet(query, &grid, dialog); });
        runs.append({".xlsx", reference, exported, QFileInfo(target).size()});
    }
    {
        const QString direct = folder.filePath(QStringLiteral("direct.docx"));
        const qint64 reference =
            timed([&] { automationexports::exportDocument(header, texts, direct); });
        target = folder.filePath(QStringLiteral("sales.docx"));
        const qint64 exported = timed([&] { sales::exportToDocument(query, &grid, dialog); });
        runs.append({".docx", reference, exported, QFileInfo(target).size()});
    }

    bool held = messages == QStringList({QStringLiteral("保存成功!"), QStringLiteral("保存成功!")});
    std::printf("export of %d sales (reference: the same calls made directly)\n", rows);
    for (const Run& run : runs) {
        const bool fast = run.exported < 5000;
        held = held && fast;
        std::printf("  %-6s %6lld ms  reference %6lld ms  ratio %.2f  %lld bytes  %s\n", run.what,
                    static_cast<long long>(run.exported), static_cast<long long>(run.reference),
                    run.reference > 0 ? double(run.exported) / double(run.reference) : 0.0,
                    static_cast<long long>(run.bytes), fast ? "under 5 s" : "OVER 5 s");
    }
    if (messages.size() != 2 || !held)
        std::printf("  messages: %s\n", qPrintable(messages.join(QStringLiteral(" | "))));
    platform::setMessageBoxAnswerer({});
    platform::setSaveDialogAnswerer({});
    return held ? 0 : 1;
}
