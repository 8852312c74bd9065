#include "sales/export.h"

#include "platform/ado.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/stored_text.h"
#include "sales/export_progress.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <memory>
#include <string_view>

namespace sales {

namespace {

using platform::Automation;
using platform::CallKind;
using platform::OleVariant;

// The field name as the result holds it, in UTF-8: compared for every cell.
constexpr std::string_view TimeColumn = "时间";

QString fromView(std::string_view text) {
    return platform::storedText(text);
}

// A date-time written in the regional form, 2009-2-14 9:05:07.
QVariant dateTimeOf(const QString& text) {
    const auto moment = platform::regional::readDateTime(text);
    if (!moment)
        return {};
    // A wall-clock reading: no zone, so no daylight-saving gap can shift it.
    return QDateTime(moment->date, moment->time, Qt::UTC);
}

// The grid's column titles; the grid titles each column with its field name.
QString columnTitle(const QTableView* grid, int column) {
    return grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString fieldName(const platform::AdoQuery& query, const QTableView* grid, int column) {
    if (column < query.fieldCount())
        return QString::fromStdString(query.result().fieldNames()[column]);
    return columnTitle(grid, column);
}

// The walk over the rows and the save that follows it: the grid does not
// follow every step, and an export that takes longer than ProgressDelayMs
// shows its progress until the file is written.
class ExportRun {
public:
    ExportRun(platform::AdoQuery& query, QWidget* parent) : mQuery(query) {
        mQuery.disableControls();
        mProgress = std::make_unique<ExportProgress>(QStringLiteral("正在导出..."),
                                                     query.recordCount(), ProgressDelayMs, parent);
        mProgress->setValue(0);
        mSinceStart.start();
        mSinceUpdate.start();
    }
    ~ExportRun() {
        mProgress.reset();
        mQuery.enableControls();
    }
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    // One row done. The dialog hears of it now and then, which is all it
    // needs to decide whether to show and to draw itself.
    void step() {
        // The clock is read every few rows only: a row takes a microsecond or
        // two, reading the clock a good part of that.
        if (++mDone % ClockEveryRows == 0 && mSinceUpdate.elapsed() >= UpdateEveryMs) {
            mProgress->setValue(mDone);
            mSinceUpdate.restart();
        }
    }

    // The rows are done and the file is about to be written, which takes as
    // long again: a window that is up stays up and says so, and one that was
    // about to show comes up now.
    void saving() {
        mProgress->setText(QStringLiteral("正在保存…"));
        mProgress->setValue(mProgress->maximum());
        if (!mProgress->isVisible() && mSinceStart.elapsed() >= ProgressDelayMs)
            mProgress->show();
        if (mProgress->isVisible())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    static constexpr int UpdateEveryMs = 50;
    static constexpr int ClockEveryRows = 64;
    platform::AdoQuery& mQuery;
    std::unique_ptr<ExportProgress> mProgress;
    QElapsedTimer mSinceStart;
    QElapsedTimer mSinceUpdate;
    int mDone = 0;
};

void saved() {
    platform::messageBox(QStringLiteral("保存成功!"), QStringLiteral("恭喜"),
                         platform::mb::IconInformation);
}

} // namespace

QVariant typedFieldValue(const platform::AdoResult& result, int row, int field) {
    if (result.isNull(row, field))
        return {};
    const std::string_view stored = result.cell(row, field);
    if (result.fieldKind(field) == platform::FieldKind::Integer) {
        // The database writes whole numbers plainly; read them without a text.
        qlonglong number = 0;
        const char* end = stored.data() + stored.size();
        if (const auto [stop, error] = std::from_chars(stored.data(), end, number);
            error == std::errc() && stop == end)
            return number;
    }
    const QString text = fromView(stored);
    bool ok = false;
    switch (result.fieldKind(field)) {
    case platform::FieldKind::Integer:
        if (const qlonglong number = text.toLongLong(&ok); ok)
            return number;
        break;
    case platform::FieldKind::Float:
        if (const double number = text.toDouble(&ok); ok)
            return number;
        break;
    case platform::FieldKind::DateTime:
        if (QVariant dateTime = dateTimeOf(text); dateTime.isValid())
            return dateTime;
        break;
    case platform::FieldKind::Text:
        if (result.fieldNames()[field] == TimeColumn) {
            if (QVariant dateTime = dateTimeOf(text); dateTime.isValid())
                return dateTime;
        }
        break;
    }
    return text;
}

double spreadsheetColumnWidth(int pixels) {
    // The default font's digit is 7 pixels wide, with 5 pixels of padding;
    // a width is kept to two decimals, as the application keeps it.
    const double characters = pixels <= 12 ? pixels / 12.0 : (pixels - 5) / 7.0;
    return std::round(std::max(characters, 0.0) * 100) / 100;
}

std::vector<double> documentColumnWidths(const std::vector<int>& gridPixels) {
    // Wide enough for the cell's margins, never for text.
    constexpr double EmptyColumnPoints = 12;
    constexpr double PointsPerPixel = 0.75;
    std::vector<double> points;
    for (std::size_t column = 0; column < gridPixels.size(); ++column)
        points.push_back(column == 0 ? EmptyColumnPoints : gridPixels[column] * PointsPerPixel);
    return points;
}

void exportToSpreadsheet(platform::AdoQuery& query, QTableView* grid, platform::SaveDialog& dialog,
                         QWidget* parent) {
    if (!dialog.execute(parent))
        return;
    const QString fileName = dialog.fileName();

    OleVariant excel;
    OleVariant book;
    try {
        excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
        book = Automation::createOleObject(QStringLiteral("Excel.Sheet"));
    } catch (const std::exception&) {
        platform::messageBox(QStringLiteral("系统没有安装Microsoft   Excel"),
                             QStringLiteral("Microsoft   Excel"), platform::mb::IconWarning);
        return;
    }

    try {
        const QString cells = QStringLiteral("Cells");
        const OleVariant workbooks =
            excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet);
        book = workbooks.invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
        const int columns = grid->model()->columnCount();
        for (int column = 1; column <= columns; ++column)
            excel.invoke(cells, CallKind::PropertyPut,
                         {1, column, fieldName(query, grid, column - 1)});
        for (int column = 1; column <= columns; ++column)
            excel.invoke(QStringLiteral("Columns"), CallKind::MethodOrGet, {column})
                .invoke(QStringLiteral("ColumnWidth"), CallKind::PropertyPut,
                        {spreadsheetColumnWidth(grid->columnWidth(column - 1))});
        {
            ExportRun progress(query, parent);
            // One list of arguments serves every cell: no list is made and
            // freed a cell.
            QList<OleVariant> arguments(3);
            query.first();
            for (int row = 2; !query.eof(); ++row) {
                const int fields = query.fieldCount();
                for (int field = 1; field <= fields; ++field) {
                    arguments[0] = row;
                    arguments[1] = field;
                    arguments[2] = typedFieldValue(query.result(), query.recNo(), field - 1);
                    excel.invoke(cells, CallKind::PropertyPut, arguments);
                }
                query.next();
                progress.step();
            }
            progress.saving();
            book.invoke(QStringLiteral("SaveAS"), CallKind::Method, {fileName});
        }
        book.invoke(QStringLiteral("close"), CallKind::Method);
    } catch (const std::exception&) {
        platform::showMessage(QStringLiteral("文件导出失败！"));
        return;
    }
    saved();
}

void exportToDocument(platform::AdoQuery& query, QTableView* grid, platform::SaveDialog& dialog,
                      QWidget* parent) {
    if (!dialog.execute(parent))
        return;
    const QString fileName = dialog.fileName();

    OleVariant word;
    OleVariant range;
    try {
        word = Automation::createOleObject(QStringLiteral("word.Application"));
        word.invoke(QStringLiteral("documents"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
        range = word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
                    .invoke(QStringLiteral("paragraphs"), CallKind::MethodOrGet)
                    .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                    .invoke(QStringLiteral("range"), CallKind::MethodOrGet);
    } catch (const std::exception&) {
        platform::showMessage(QStringLiteral("请确认WORD安装正确！"));
        return;
    }

    try {
        const int rows = query.recordCount();
        const int columns = grid->model()->columnCount();
        const OleVariant table =
            word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
                .invoke(QStringLiteral("tables"), CallKind::MethodOrGet)
                .invoke(QStringLiteral("Add"), CallKind::Method, {range, rows + 1, columns});
        const auto write = [&](int row, int column, const QString& text) {
            table.invoke(QStringLiteral("Cell"), CallKind::Method, {row, column})
                .invoke(QStringLiteral("range"), CallKind::MethodOrGet)
                .invoke(QStringLiteral("InsertAfter"), CallKind::Method, {text});
        };
        std::vector<int> gridWidths;
        for (int column = 0; column < columns; ++column)
            gridWidths.push_back(grid->columnWidth(column));
        const std::vector<double> widths = documentColumnWidths(gridWidths);
        for (int column = 1; column <= columns; ++column)
            table.invoke(QStringLiteral("Columns"), CallKind::MethodOrGet, {column})
                .invoke(QStringLiteral("Width"), CallKind::PropertyPut,
                        {widths[static_cast<std::size_t>(column - 1)]});
        table.invoke(QStringLiteral("Rows"), CallKind::MethodOrGet, {1})
            .invoke(QStringLiteral("HeadingFormat"), CallKind::PropertyPut, {true});
        // Grid column c is table column c + 1; the first grid column is left out.
        for (int column = 1; column < columns; ++column) {
            if (!grid->isColumnHidden(column))
                write(1, column + 1, columnTitle(grid, column));
        }
        {
            ExportRun progress(query, parent);
            query.first();
            for (int row = 2; !query.eof(); ++row) {
                for (int column = 1; column < columns; ++column) {
                    if (!grid->isColumnHidden(column))
                        write(row, column + 1, fromView(query.field(column)));
                }
                query.next();
                progress.step();
            }
            progress.saving();
            word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
                .invoke(QStringLiteral("saveas"), CallKind::Method, {fileName});
        }
        word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("close"), CallKind::Method);
        saved();
    } catch (const std::exception&) {
        platform::showMessage(
            QStringLiteral("不能正确操作Word文件。可能是该文件已被其他程序打开,或系统错误。"));
    }
}

} // namespace sales
