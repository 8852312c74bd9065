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

using namespace platform;
using sales::exportToDocument;
using sales::exportToSpreadsheet;

namespace {

const QString Saved = QStringLiteral("保存成功!");

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
        setSaveDialogAnswerer([this](const QString&) -> std::optional<QString> {
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
    QList<QStringList> table(const QString& name) {
        const officereadback::DocumentBody body = officereadback::readDocumentBody(path(name));
        return body.tables.size() == 1 ? body.tables.front() : QList<QStringList>();
    }

    records::RecordWindow mSales{records::salesDescriptor()};
    SaveDialog mDialog;
    QStringList mChoices;
};

} // namespace

TEST_F(Export, TheDocumentLeavesOutHiddenGridColumns) {
    mSales.grid()->setColumnHidden(4, true); // 出货人
    toDocument(QStringLiteral("hidden.docx"));
    toSheet(QStringLiteral("hidden.xlsx"));
    EXPECT_EQ(boxTexts(), QStringList({Saved, Saved}));
    const QList<QStringList> rows = table(QStringLiteral("hidden.docx"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], QStringList({"", "商品", "金额", "时间", "", "备注"}));
    EXPECT_EQ(rows[3], QStringList({"", "米", "350", "2009-2-14 9:05:07", "", ""}));
    // The spreadsheet keeps every column.
    EXPECT_EQ(officereadback::readSheetCells(path(QStringLiteral("hidden.xlsx")))
                  .value(QStringLiteral("E4"))
                  .value,
              QStringLiteral("张三"));
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
