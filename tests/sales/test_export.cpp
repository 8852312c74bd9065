#include "../maintenance/program_folder.h"
#include "../platform/office_readback.h"

#include "platform/automation.h"
#include "platform/file_dialog.h"
#include "records/record_window.h"
#include "sales/export.h"
#include "sales/export_progress.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTableView>
#include <QThread>

#include <cmath>

using namespace platform;
using sales::exportToDocument;
using sales::exportToSpreadsheet;

namespace {

const QString Saved = QStringLiteral("保存成功!");
const QString ExcelMissing = QStringLiteral("系统没有安装Microsoft   Excel");
const QString WordMissing = QStringLiteral("请确认WORD安装正确！");
const QString SheetFailed = QStringLiteral("文件导出失败！");
const QString DocumentFailed =
    QStringLiteral("不能正确操作Word文件。可能是该文件已被其他程序打开,或系统错误。");

// The sales window's list, three sales, and a save dialog answered by the test.
class Export : public ProgramFolder {
protected:
    void SetUp() override {
        ProgramFolder::SetUp();
        // The sales window loads its word lists before it connects.
        for (const QString& list : {records::wordlists::StaffNames, records::wordlists::GoodsNames,
                                    records::wordlists::Amounts}) {
            QFile file(path(list));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        sqlRun(records::databasePath(QStringLiteral("销售记录.mdb")),
               "insert into data (商品,金额,时间,出货人,备注) values "
               "('米','350','2009-2-14 9:05:07','张三',NULL),"
               "('油 & <盐>','12','2009-2-15 10:00:00','','留 空格 '),"
               "('茶','8','2009-3-1 0:00:00','李四','散装')");
        mSales.create();
        ASSERT_TRUE(mBoxes.isEmpty());
        ASSERT_TRUE(mSales.connection().connected());
        setSaveDialogAnswerer([this](const QString& offered) -> std::optional<QString> {
            mOffered << offered;
            if (mChoices.isEmpty())
                return std::nullopt;
            return mChoices.takeFirst();
        });
    }
    void TearDown() override {
        setSaveDialogAnswerer({});
        Automation::restoreBuiltInClasses();
        ProgramFolder::TearDown();
    }

    void toSheet(const QString& name) {
        mChoices << path(name);
        exportToSpreadsheet(mSales.query(), mSales.grid(), mDialog);
    }
    void toDocument(const QString& name) {
        mChoices << path(name);
        exportToDocument(mSales.query(), mSales.grid(), mDialog);
    }
    void expectOneBox(const QString& text, const QString& caption, unsigned flags) {
        ASSERT_EQ(mBoxes.size(), 1) << boxTexts().join('|').toStdString();
        EXPECT_EQ(mBoxes[0].text.toStdString(), text.toStdString());
        EXPECT_EQ(mBoxes[0].caption.toStdString(), caption.toStdString());
        EXPECT_EQ(mBoxes[0].flags, flags);
        mBoxes.clear();
    }
    // Cells of the written sheet as "A1=编号", date-times as "D2=@2009-2-14 9:05:07".
    QStringList sheet(const QString& name) {
        QStringList cells;
        const auto read = officereadback::readSheetCells(path(name));
        for (auto cell = read.cbegin(); cell != read.cend(); ++cell) {
            QString value = cell.value().value;
            if (cell.value().format.contains(QLatin1String("yy"))) {
                const double serial = value.toDouble();
                const auto days = static_cast<qint64>(serial);
                const QDateTime moment =
                    QDateTime(QDate(1899, 12, 30).addDays(days), QTime(0, 0), Qt::UTC)
                        .addSecs(std::lround((serial - days) * 86400));
                value = QLatin1Char('@') + moment.toString(QStringLiteral("yyyy-M-d H:mm:ss"));
            }
            cells << cell.key() + QLatin1Char('=') + value;
        }
        return cells;
    }
    QList<QStringList> table(const QString& name) {
        const officereadback::DocumentBody body = officereadback::readDocumentBody(path(name));
        return body.tables.size() == 1 ? body.tables.front() : QList<QStringList>();
    }
    QStringList files() const {
        return QDir(mDir.path())
            .entryList({QStringLiteral("*.xlsx"), QStringLiteral("*.docx"), QStringLiteral("out*")},
                       QDir::Files, QDir::Name);
    }

    records::RecordWindow mSales{records::salesDescriptor()};
    SaveDialog mDialog;
    QStringList mChoices;
    QStringList mOffered;
};

} // namespace

TEST_F(Export, TheSpreadsheetGetsExactlyTheCallsAndTypedCellsOfTheList) {
    CallRecorder recorder;
    toSheet(QStringLiteral("sales.xlsx"));
    expectOneBox(Saved, QStringLiteral("恭喜"), 64);

    const QString file = path(QStringLiteral("sales.xlsx"));
    QStringList expected = {
        QStringLiteral("create Excel.Application -> Excel.Application#1"),
        QStringLiteral("create Excel.Sheet -> Workbook#1"),
        QStringLiteral("Excel.Application#1.workbooks method|get () -> Workbooks#1"),
        QStringLiteral("Workbooks#1.Add method|get () -> Workbook#2"),
    };
    const QStringList header = {QStringLiteral("编号"),   QStringLiteral("商品"),
                                QStringLiteral("金额"),   QStringLiteral("时间"),
                                QStringLiteral("出货人"), QStringLiteral("备注")};
    for (int column = 1; column <= 6; ++column)
        expected << QStringLiteral("Excel.Application#1.Cells put (1, %1, \"%2\")")
                        .arg(column)
                        .arg(header[column - 1]);
    // Each column as wide as its grid column (50, 100, 60, 100, 100, 280 pixels).
    const QStringList widths = {"6.43", "13.57", "7.86", "13.57", "13.57", "39.29"};
    for (int column = 1; column <= 6; ++column)
        expected
            << QStringLiteral("Excel.Application#1.Columns method|get (%1) -> Range#%1").arg(column)
            << QStringLiteral("Range#%1.ColumnWidth put (%2)").arg(column).arg(widths[column - 1]);
    const QStringList rows = {
        QStringLiteral("3, \"茶\", \"8\", #2009-03-01 00:00:00#, \"李四\", \"散装\""),
        QStringLiteral("2, \"油 & <盐>\", \"12\", #2009-02-15 10:00:00#, \"\", \"留 空格 \""),
        QStringLiteral("1, \"米\", \"350\", #2009-02-14 09:05:07#, \"张三\", null"),
    };
    for (int row = 0; row < 3; ++row) {
        const QStringList values = rows[row].split(QStringLiteral(", "));
        for (int column = 1; column <= 6; ++column)
            expected << QStringLiteral("Excel.Application#1.Cells put (%1, %2, %3)")
                            .arg(row + 2)
                            .arg(column)
                            .arg(values[column - 1]);
    }
    expected << QStringLiteral("Workbook#2.SaveAS method (\"%1\")").arg(file)
             << QStringLiteral("Workbook#2.close method ()");
    EXPECT_EQ(recorder.lines().join('\n').toStdString(), expected.join('\n').toStdString());

    const auto cells = officereadback::readSheetCells(file);
    EXPECT_EQ(cells.value(QStringLiteral("A2")).type, QString()); // a number
    EXPECT_EQ(cells.value(QStringLiteral("A2")).value, QStringLiteral("3"));
    EXPECT_EQ(cells.value(QStringLiteral("C4")).value, QStringLiteral("350"));
    EXPECT_EQ(cells.value(QStringLiteral("C4")).type, QString()); // an amount is a number
    EXPECT_EQ(cells.value(QStringLiteral("D4")).format, QStringLiteral("yyyy-m-d h:mm:ss"));
    EXPECT_NEAR(cells.value(QStringLiteral("D4")).value.toDouble(), 39858 + 32707.0 / 86400, 1e-9);
    EXPECT_FALSE(cells.contains(QStringLiteral("F4")));
    EXPECT_EQ(cells.size(), 6 + 6 + 5 + 5);

    // Left past the last row; the grid stands on the last one.
    EXPECT_TRUE(mSales.query().eof());
    EXPECT_EQ(mSales.grid()->currentIndex().row(), 2);
}

TEST_F(Export, TheDocumentGetsExactlyTheCallsAndATableWithoutTheKeyColumn) {
    CallRecorder recorder;
    toDocument(QStringLiteral("sales"));
    expectOneBox(Saved, QStringLiteral("恭喜"), 64);

    QStringList expected = {
        QStringLiteral("create word.Application -> word.Application#1"),
        QStringLiteral("word.Application#1.documents method|get () -> Documents#1"),
        QStringLiteral("Documents#1.Add method|get () -> Document#1"),
        QStringLiteral("word.Application#1.activedocument method|get () -> Document#1"),
        QStringLiteral("Document#1.paragraphs method|get () -> Paragraphs#1"),
        QStringLiteral("Paragraphs#1.Add method|get () -> Paragraph#1"),
        QStringLiteral("Paragraph#1.range method|get () -> Range#1"),
        QStringLiteral("word.Application#1.activedocument method|get () -> Document#1"),
        QStringLiteral("Document#1.tables method|get () -> Tables#1"),
        QStringLiteral("Tables#1.Add method (<Range#1>, 4, 6) -> Table#1"),
    };
    // Widths in points: the empty first column narrow, the others as the grid's.
    const QStringList widths = {"12", "75", "45", "75", "75", "210"};
    for (int column = 1; column <= 6; ++column)
        expected << QStringLiteral("Table#1.Columns method|get (%1) -> Column#%1").arg(column)
                 << QStringLiteral("Column#%1.Width put (%2)").arg(column).arg(widths[column - 1]);
    expected << QStringLiteral("Table#1.Rows method|get (1) -> Row#1")
             << QStringLiteral("Row#1.HeadingFormat put (true)");
    int cell = 0;
    const auto write = [&](int row, int column, const QString& text) {
        ++cell;
        expected
            << QStringLiteral("Table#1.Cell method (%1, %2) -> Cell#%3")
                   .arg(row)
                   .arg(column)
                   .arg(cell)
            << QStringLiteral("Cell#%1.range method|get () -> Range#%2").arg(cell).arg(cell + 1)
            << QStringLiteral("Range#%1.InsertAfter method (\"%2\")").arg(cell + 1).arg(text);
    };
    const QList<QStringList> rows = {
        {QStringLiteral("商品"), QStringLiteral("金额"), QStringLiteral("时间"),
         QStringLiteral("出货人"), QStringLiteral("备注")},
        {QStringLiteral("茶"), QStringLiteral("8"), QStringLiteral("2009-3-1 0:00:00"),
         QStringLiteral("李四"), QStringLiteral("散装")},
        {QStringLiteral("油 & <盐>"), QStringLiteral("12"), QStringLiteral("2009-2-15 10:00:00"),
         QString(), QStringLiteral("留 空格 ")},
        {QStringLiteral("米"), QStringLiteral("350"), QStringLiteral("2009-2-14 9:05:07"),
         QStringLiteral("张三"), QString()},
    };
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 5; ++column)
            write(row + 1, column + 2, rows[row][column]);
    }
    const QString file = path(QStringLiteral("sales"));
    expected << QStringLiteral("word.Application#1.activedocument method|get () -> Document#1")
             << QStringLiteral("Document#1.saveas method (\"%1\")").arg(file)
             << QStringLiteral("word.Application#1.activedocument method|get () -> Document#1")
             << QStringLiteral("Document#1.close method ()");
    EXPECT_EQ(recorder.lines().join('\n').toStdString(), expected.join('\n').toStdString());

    QList<QStringList> written;
    for (const QStringList& row : rows)
        written << (QStringList{QString()} + row);
    EXPECT_EQ(table(QStringLiteral("sales.docx")), written);
    EXPECT_TRUE(mSales.query().eof());
}

TEST_F(Export, APeriodViewAndAnEmptyListAreWrittenAsShown) {
    platform::AdoQuery& query = mSales.query();
    query.close();
    query.setSql("Select * from data where 时间 like '%2009-2-%'  ORDER BY 编号 desc");
    query.open();
    toSheet(QStringLiteral("period.xlsx"));
    toDocument(QStringLiteral("period.docx"));
    EXPECT_EQ(boxTexts(), QStringList({Saved, Saved}));
    mBoxes.clear();
    EXPECT_EQ(
        sheet(QStringLiteral("period.xlsx")),
        QStringList({"A1=编号", "A2=2", "A3=1", "B1=商品", "B2=油 & <盐>", "B3=米", "C1=金额",
                     "C2=12", "C3=350", "D1=时间", "D2=@2009-2-15 10:00:00",
                     "D3=@2009-2-14 9:05:07", "E1=出货人", "E3=张三", "F1=备注", "F2=留 空格 "}));
    EXPECT_EQ(table(QStringLiteral("period.docx")).size(), 3);

    // An empty list: the header row only, a table of the titles only.
    sqlRun(records::databasePath(QStringLiteral("销售记录.mdb")), "delete from data");
    mSales.refresh();
    toSheet(QStringLiteral("empty.xlsx"));
    toDocument(QStringLiteral("empty.docx"));
    EXPECT_EQ(boxTexts(), QStringList({Saved, Saved}));
    EXPECT_EQ(sheet(QStringLiteral("empty.xlsx")),
              QStringList({"A1=编号", "B1=商品", "C1=金额", "D1=时间", "E1=出货人", "F1=备注"}));
    EXPECT_EQ(table(QStringLiteral("empty.docx")),
              QList<QStringList>({{"", "商品", "金额", "时间", "出货人", "备注"}}));
}

TEST_F(Export, OneDialogForBothThatOffersTheLastNameAndMayBeCancelled) {
    CallRecorder recorder;
    exportToSpreadsheet(mSales.query(), mSales.grid(), mDialog); // cancelled
    EXPECT_TRUE(recorder.lines().isEmpty());
    EXPECT_TRUE(mBoxes.isEmpty());
    EXPECT_FALSE(mSales.query().eof()); // untouched

    toSheet(QStringLiteral("first.xlsx"));
    toDocument(QStringLiteral("second.docx"));
    exportToDocument(mSales.query(), mSales.grid(), mDialog); // cancelled again
    EXPECT_EQ(mOffered, QStringList({QString(), QString(), path(QStringLiteral("first.xlsx")),
                                     path(QStringLiteral("second.docx"))}));
    EXPECT_EQ(files(), QStringList({QStringLiteral("first.xlsx"), QStringLiteral("second.docx")}));
}

TEST_F(Export, AMissingApplicationIsReportedAndWritesNothing) {
    for (const char* missing : {"Excel.Application", "Excel.Sheet"}) {
        Automation::unregisterClass(QLatin1String(missing));
        toSheet(QStringLiteral("out.xlsx"));
        expectOneBox(ExcelMissing, QStringLiteral("Microsoft   Excel"), 48);
        Automation::restoreBuiltInClasses();
    }
    Automation::unregisterClass(QStringLiteral("word.Application"));
    toDocument(QStringLiteral("out.docx"));
    expectOneBox(WordMissing, platform::applicationTitle(), 0);
    EXPECT_TRUE(files().isEmpty());

    // Installed again, the same export works at once.
    Automation::restoreBuiltInClasses();
    toDocument(QStringLiteral("out.docx"));
    expectOneBox(Saved, QStringLiteral("恭喜"), 64);
}

TEST_F(Export, AFileThatCannotBeWrittenIsReportedAndTheExportCanBeRepeated) {
    toSheet(QStringLiteral("missing/out.xlsx"));
    expectOneBox(SheetFailed, platform::applicationTitle(), 0);
    toDocument(QStringLiteral("missing/out.docx"));
    expectOneBox(DocumentFailed, platform::applicationTitle(), 0);
    EXPECT_EQ(mOffered.last(), path(QStringLiteral("missing/out.xlsx")));

    toSheet(QStringLiteral("out.xlsx"));
    expectOneBox(Saved, QStringLiteral("恭喜"), 64);
    EXPECT_EQ(files(), QStringList{QStringLiteral("out.xlsx")});
}

TEST_F(Export, TheDocumentLeavesOutHiddenGridColumns) {
    mSales.grid()->setColumnHidden(4, true); // 出货人
    toDocument(QStringLiteral("hidden.docx"));
    toSheet(QStringLiteral("hidden.xlsx"));
    EXPECT_EQ(boxTexts(), QStringList({Saved, Saved}));
    const QList<QStringList> rows = table(QStringLiteral("hidden.docx"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], QStringList({"", "商品", "金额", "时间", "", "备注"}));
    EXPECT_EQ(rows[3], QStringList({"", "米", "350", "2009-2-14 9:05:07", "", ""}));
    EXPECT_TRUE(sheet(QStringLiteral("hidden.xlsx")).contains(QStringLiteral("E4=张三")));
}

TEST(ExportValues, FieldsAreTypedByTheirColumns) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("types.db"));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "create table t (i INTEGER, f REAL, d DATETIME, 时间 TEXT, s TEXT);"
                               "insert into t values (42, 2.5, '2009-2-14 9:05:07', "
                               "'2009-12-31 23:59:59', '2009-2-14 9:05:07');"
                               "insert into t values ('x', 'y', '2009-2-30 9:05:07', "
                               "'2009-2-14', NULL);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    AdoConnection connection;
    connection.setConnectionString("Data Source=" + file.toStdString());
    connection.open();
    AdoQuery query(connection);
    query.setSql("select * from t");
    query.open();
    const AdoResult& result = query.result();
    const auto value = [&](int row, int field) {
        return sales::typedFieldValue(result, row, field);
    };

    EXPECT_EQ(value(0, 0), QVariant(qlonglong(42)));
    EXPECT_EQ(value(0, 1), QVariant(2.5));
    EXPECT_EQ(value(0, 2).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("2009-02-14 09:05:07"));
    EXPECT_EQ(value(0, 3).typeId(), QMetaType::QDateTime);
    EXPECT_EQ(value(0, 3).toDateTime().time(), QTime(23, 59, 59));
    EXPECT_EQ(value(0, 4), QVariant(QStringLiteral("2009-2-14 9:05:07"))); // any other text stays
    // What does not read as its column's type stays text; null stays null.
    EXPECT_EQ(value(1, 0), QVariant(QStringLiteral("x")));
    EXPECT_EQ(value(1, 1), QVariant(QStringLiteral("y")));
    EXPECT_EQ(value(1, 2), QVariant(QStringLiteral("2009-2-30 9:05:07")));
    EXPECT_EQ(value(1, 3), QVariant(QStringLiteral("2009-2-14")));
    EXPECT_FALSE(value(1, 4).isValid());
}

namespace {

// A spreadsheet application that takes its time over each row and notes
// whether a progress dialog was showing meanwhile.
class SlowSpreadsheet : public AutomationObject {
public:
    explicit SlowSpreadsheet(OleVariant inner, SlowSpreadsheet* root = nullptr)
        : AutomationObject(QStringLiteral("SlowSpreadsheet")), mInner(std::move(inner)),
          mRoot(root ? root : this) {}
    int delayMs = 0;
    bool sawProgress = false;
    QString progressWhileSaving; // the text of the progress window up while the book is saved

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (name == QLatin1String("Cells") && arguments.value(1).value().toInt() == 1) {
            QThread::msleep(static_cast<unsigned long>(delayMs));
            sawProgress = sawProgress || visibleProgress();
        }
        OleVariant result = mInner.invoke(name, kind, arguments);
        if (result.isObject()) // the workbook saves itself: watch what comes back too
            return OleVariant(std::make_shared<SlowSpreadsheet>(result, mRoot));
        if (name == QLatin1String("SaveAS")) {
            if (sales::ExportProgress* progress = visibleProgress())
                mRoot->progressWhileSaving = progress->text();
        }
        return result;
    }

    static sales::ExportProgress* visibleProgress() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<sales::ExportProgress*>(top);
                progress && top->isVisible())
                return progress;
        }
        return nullptr;
    }

private:
    OleVariant mInner;
    SlowSpreadsheet* mRoot;
};

bool progressShowing() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<sales::ExportProgress*>(top) && top->isVisible())
            return true;
    }
    return false;
}

} // namespace

TEST_F(Export, ALongExportShowsItsProgressAndAShortOneDoesNot) {
    sqlRun(records::databasePath(QStringLiteral("销售记录.mdb")),
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < 150) "
           "insert into data (商品,金额) select 'x', i from n");
    mSales.refresh();
    const auto slow = [](int delayMs) {
        auto server = std::make_shared<SlowSpreadsheet>(
            Automation::createOleObject(QStringLiteral("Excel.Application")));
        server->delayMs = delayMs;
        Automation::registerClass(QStringLiteral("Excel.Application"), [server] { return server; });
        return server;
    };

    const auto quick = slow(0);
    toSheet(QStringLiteral("quick.xlsx"));
    EXPECT_FALSE(quick->sawProgress);
    Automation::restoreBuiltInClasses();

    const auto longer = slow(6); // 153 rows: about 0.9 s
    toSheet(QStringLiteral("slow.xlsx"));
    EXPECT_TRUE(longer->sawProgress);
    EXPECT_EQ(longer->progressWhileSaving, QStringLiteral("正在保存…"));
    EXPECT_FALSE(progressShowing());
    EXPECT_EQ(boxTexts(), QStringList({Saved, Saved}));
    EXPECT_EQ(officereadback::readSheetCells(path(QStringLiteral("slow.xlsx"))).size(),
              6 + 6 + 5 + 5 + 150 * 4);
}
