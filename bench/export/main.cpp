// bench_export [--xlsx-only] [--repeat N] [--keep FOLDER] [ROWS...]
// Times the export of the sales list (default 100 000 rows) to .xlsx and to
// .docx through the sales export: the query walked, the fields typed, every
// call late-bound.
//
// .xlsx: the reference is libxlsxwriter in constant_memory mode writing the
// same cells, typed beforehand and held in memory, in the same run; the ratio
// of the times (medians of the repeats) and the peak memory each adds to the
// program are printed. Targets: ratio at most 1.2, the export's peak at most
// 15 MB above the program before it.
// .docx: the reference is the same calls made directly on the server from
// values prepared in memory. Target: under 5 s.
// --keep leaves the exported files in FOLDER as sales-ROWS.xlsx/.docx, to be
// opened in a spreadsheet program.

#include "automation_exports.h"
#include "common/peak_memory.h"

#include "platform/ado.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/xlsx_sheet.h"
#include "records/module_descriptor.h"
#include "records/module_storage.h"
#include "records/result_model.h"
#include "sales/export.h"

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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

// The time an action takes and how far it raises the resident memory above
// what the program held before it: the peak is reset first (clear_refs 5).
struct Measured {
    qint64 ms = 0;
    long extraKb = 0;
};

Measured measured(const std::function<void()>& action) {
    bench::resetPeak();
    const long before = bench::statusKb("VmRSS:");
    Measured result;
    result.ms = timed(action);
    result.extraKb = std::max(0L, bench::statusKb("VmHWM:") - before);
    return result;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A cell as the writer library gets it.
struct LibraryCell {
    enum Kind : unsigned char { Empty, Number, DateTime, Text, WrappedText } kind = Empty;
    double number = 0;
    std::string text;
};

// The cells the export writes, typed as the spreadsheet server types them.
std::vector<std::vector<LibraryCell>> libraryCells(const QStringList& header,
                                                   const platform::AdoResult& result) {
    std::vector<std::vector<LibraryCell>> rows;
    const auto text = [](const QString& value) {
        const bool wraps = value.contains(u'\n') || value.contains(u'\r');
        return LibraryCell{wraps ? LibraryCell::WrappedText : LibraryCell::Text, 0,
                           value.toStdString()};
    };
    std::vector<LibraryCell>& names = rows.emplace_back();
    for (const QString& name : header)
        names.push_back(text(name));
    for (int row = 0; row < result.rowCount(); ++row) {
        std::vector<LibraryCell>& cells = rows.emplace_back();
        for (int field = 0; field < result.fieldCount(); ++field) {
            const QVariant value = sales::typedFieldValue(result, row, field);
            if (value.isNull()) {
                cells.emplace_back();
            } else if (value.typeId() == QMetaType::QDateTime) {
                const QDateTime moment = value.toDateTime();
                lxw_datetime parts{moment.date().year(),   moment.date().month(),
                                   moment.date().day(),    moment.time().hour(),
                                   moment.time().minute(), double(moment.time().second())};
                cells.push_back(
                    {LibraryCell::DateTime, lxw_datetime_to_excel_datetime(&parts), {}});
            } else if (value.typeId() == QMetaType::QString) {
                if (const auto number = platform::xlsx::numberText(value.toString()))
                    cells.push_back({LibraryCell::Number, *number, {}});
                else
                    cells.push_back(text(value.toString()));
            } else {
                cells.push_back({LibraryCell::Number, value.toDouble(), {}});
            }
        }
    }
    return rows;
}

// libxlsxwriter alone, constant_memory mode: the widths, then the cells.
void writeWithLibrary(const std::vector<std::vector<LibraryCell>>& rows,
                      const std::vector<double>& widths, const QString& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* dateTime = workbook_add_format(book);
    format_set_num_format(dateTime, "yyyy-m-d h:mm:ss");
    lxw_format* wrap = workbook_add_format(book);
    format_set_text_wrap(wrap);
    for (std::size_t column = 0; column < widths.size(); ++column)
        worksheet_set_column(sheet, column, column, widths[column], nullptr);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            const LibraryCell& cell = rows[row][column];
            switch (cell.kind) {
            case LibraryCell::Empty:
                break;
            case LibraryCell::Number:
                worksheet_write_number(sheet, row, column, cell.number, nullptr);
                break;
            case LibraryCell::DateTime:
                worksheet_write_number(sheet, row, column, cell.number, dateTime);
                break;
            case LibraryCell::Text:
            case LibraryCell::WrappedText:
                worksheet_write_string(sheet, row, column, cell.text.c_str(),
                                       cell.kind == LibraryCell::WrappedText ? wrap : nullptr);
                break;
            }
        }
    }
    workbook_close(book);
}

struct Options {
    std::vector<int> rows;
    int repeat = 3;
    bool documents = true;
    QString keep;
};

Options options(const QStringList& arguments) {
    Options parsed;
    for (qsizetype at = 1; at < arguments.size(); ++at) {
        if (arguments[at] == QLatin1String("--xlsx-only"))
            parsed.documents = false;
        else if (arguments[at] == QLatin1String("--repeat") && at + 1 < arguments.size())
            parsed.repeat = std::max(1, arguments[++at].toInt());
        else if (arguments[at] == QLatin1String("--keep") && at + 1 < arguments.size())
            parsed.keep = arguments[++at];
        else if (const int rows = arguments[at].toInt(); rows > 0)
            parsed.rows.push_back(rows);
    }
    if (parsed.rows.empty())
        parsed.rows.push_back(100000);
    return parsed;
}

// One list of `rows` sales exported both ways; false when a target is missed.
bool benchmark(int rows, const Options& options) {
    QTemporaryDir folder;
    const QString database = folder.filePath(SalesFile);
    if (!makeSales(database, rows)) {
        std::fprintf(stderr, "bench_export: cannot make the sales database\n");
        return false;
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
    QStringList header;
    for (const std::string& name : query.result().fieldNames())
        header << QString::fromStdString(name);

    std::printf("export of %d sales\n", rows);
    bool held = true;

    // .xlsx: the cells for the library are typed beforehand; then the export
    // and the library take turns, so that both meet the machine alike.
    target = folder.filePath(QStringLiteral("sales.xlsx"));
    std::vector<double> widths;
    for (int column = 0; column < grid.model()->columnCount(); ++column)
        widths.push_back(sales::spreadsheetColumnWidth(grid.columnWidth(column)));
    const std::vector<std::vector<LibraryCell>> cells = libraryCells(header, query.result());
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (cells.size() > 1 && cells[1].size() > column &&
            cells[1][column].kind == LibraryCell::DateTime)
            widths[column] = std::max(widths[column], 18.0);
    }
    const QString direct = folder.filePath(QStringLiteral("direct.xlsx"));
    std::vector<Measured> exports;
    std::vector<Measured> references;
    for (int run = 0; run < options.repeat; ++run) {
        exports.push_back(measured([&] { sales::exportToSpreadsheet(query, &grid, dialog); }));
        held = held && messages.value(messages.size() - 1) == QStringLiteral("保存成功!");
        references.push_back(measured([&] { writeWithLibrary(cells, widths, direct); }));
    }
    const qint64 exportBytes = QFileInfo(target).size();

    const auto ms = [](const std::vector<Measured>& runs) {
        std::vector<qint64> times;
        for (const Measured& run : runs)
            times.push_back(run.ms);
        return median(times);
    };
    const auto peakMb = [](const std::vector<Measured>& runs) {
        long most = 0;
        for (const Measured& run : runs)
            most = std::max(most, run.extraKb);
        return most / 1024.0;
    };
    const qint64 exportMs = ms(exports);
    const qint64 referenceMs = ms(references);
    const double ratio = referenceMs > 0 ? double(exportMs) / double(referenceMs) : 0.0;
    const bool fastEnough = ratio <= 1.2;
    const bool smallEnough = peakMb(exports) <= 15;
    held = held && fastEnough && smallEnough;
    std::printf("  .xlsx  %6lld ms  libxlsxwriter constant_memory %6lld ms  ratio %.2f %s"
                "  (medians of %d)\n",
                static_cast<long long>(exportMs), static_cast<long long>(referenceMs), ratio,
                fastEnough ? "(≤ 1.2)" : "(OVER 1.2)", options.repeat);
    std::printf("         peak +%.1f MB  libxlsxwriter +%.1f MB  %s  %lld bytes (library %lld)\n",
                peakMb(exports), peakMb(references), smallEnough ? "(≤ +15 MB)" : "(OVER +15 MB)",
                static_cast<long long>(exportBytes),
                static_cast<long long>(QFileInfo(direct).size()));

    if (options.documents) {
        QList<QStringList> texts;
        for (int row = 0; row < query.recordCount(); ++row) {
            QStringList plain;
            for (int field = 0; field < query.fieldCount(); ++field) {
                const std::string_view cell = query.result().cell(row, field);
                plain << QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
            }
            texts << plain;
        }
        const QString directDocument = folder.filePath(QStringLiteral("direct.docx"));
        const qint64 reference =
            timed([&] { automationexports::exportDocument(header, texts, directDocument); });
        target = folder.filePath(QStringLiteral("sales.docx"));
        const qint64 exported = timed([&] { sales::exportToDocument(query, &grid, dialog); });
        const bool fast = exported < 5000;
        held = held && fast && messages.value(messages.size() - 1) == QStringLiteral("保存成功!");
        std::printf("  .docx  %6lld ms  the same calls made directly %6lld ms  ratio %.2f  "
                    "%lld bytes  %s\n",
                    static_cast<long long>(exported), static_cast<long long>(reference),
                    reference > 0 ? double(exported) / double(reference) : 0.0,
                    static_cast<long long>(QFileInfo(target).size()),
                    fast ? "under 5 s" : "OVER 5 s");
    }
    if (!options.keep.isEmpty()) {
        for (const char* extension : {"xlsx", "docx"}) {
            const QString kept = QStringLiteral("%1/sales-%2.%3")
                                     .arg(options.keep)
                                     .arg(rows)
                                     .arg(QLatin1String(extension));
            QFile::remove(kept);
            QFile::copy(folder.filePath(QStringLiteral("sales.") + QLatin1String(extension)), kept);
        }
    }
    if (messages.size() != messages.count(QStringLiteral("保存成功!")))
        std::printf("  messages: %s\n", qPrintable(messages.join(QStringLiteral(" | "))));
    platform::setMessageBoxAnswerer({});
    platform::setSaveDialogAnswerer({});
    return held;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const Options parsed = options(QApplication::arguments());
    bool held = true;
    for (const int rows : parsed.rows)
        held = benchmark(rows, parsed) && held;
    return held ? 0 : 1;
}
