// The spreadsheet server: "Excel.Application" with its workbooks, and
// "Excel.Sheet", a workbook of its own. Cells put on the application go to its
// active workbook, the one added last; a workbook saves itself as .xlsx.

#include "platform/automation_file.h"
#include "platform/automation_servers.h"
#include "platform/xlsx_sheet.h"

#include <vector>

namespace platform::servers {

using automation::expectCall;
using automation::integerArgument;
using automation::nameIs;

namespace {

class SpreadsheetApplication;

class Workbook : public AutomationObject {
public:
    explicit Workbook(std::weak_ptr<SpreadsheetApplication> application)
        : AutomationObject(QStringLiteral("Workbook")), mApplication(std::move(application)) {}

    void setCell(int row, int column, const QVariant& value) {
        requireOpen();
        mSheet.setCell(row, column, value);
    }
    void setColumnWidth(int column, double characters) {
        requireOpen();
        mSheet.setColumnWidth(column, characters);
    }

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override;

private:
    void requireOpen() const {
        if (mClosed)
            throw AutomationError(QStringLiteral("The workbook has been closed"));
    }
    void close();

    std::weak_ptr<SpreadsheetApplication> mApplication;
    xlsx::Sheet mSheet;
    bool mClosed = false;
};

class SpreadsheetApplication : public AutomationObject {
public:
    SpreadsheetApplication() : AutomationObject(QStringLiteral("Excel.Application")) {}

    std::shared_ptr<Workbook> addWorkbook() {
        auto book = std::make_shared<Workbook>(
            std::static_pointer_cast<SpreadsheetApplication>(shared_from_this()));
        mWorkbooks.push_back(book);
        return book;
    }
    void remove(const Workbook* book) {
        std::erase_if(mWorkbooks, [book](const auto& each) { return each.get() == book; });
    }

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override;

private:
    std::vector<std::shared_ptr<Workbook>> mWorkbooks;
};

// One column of the active workbook's sheet; its width is in characters.
class Column : public AutomationObject {
public:
    Column(std::shared_ptr<Workbook> book, int column)
        : AutomationObject(QStringLiteral("Range")), mBook(std::move(book)), mColumn(column) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("ColumnWidth"))) {
            expectCall(name, kind, CallKind::PropertyPut, arguments, 1, 1);
            bool ok = false;
            const double width = arguments[0].isObject() ? 0 : arguments[0].value().toDouble(&ok);
            if (!ok)
                throw AutomationError(
                    QStringLiteral("Type mismatch: \"%1\" needs a number").arg(name));
            mBook->setColumnWidth(mColumn, width);
            return {};
        }
        automation::unknownMember(typeName(), name);
    }

private:
    std::shared_ptr<Workbook> mBook;
    int mColumn;
};

class Workbooks : public AutomationObject {
public:
    explicit Workbooks(std::shared_ptr<SpreadsheetApplication> application)
        : AutomationObject(QStringLiteral("Workbooks")), mApplication(std::move(application)) {}

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (nameIs(name, QLatin1String("Add"))) {
            expectCall(name, kind, CallKind::Method, arguments, 0, 0);
            return mApplication->addWorkbook();
        }
        automation::unknownMember(typeName(), name);
    }

private:
    std::shared_ptr<SpreadsheetApplication> mApplication;
};

OleVariant SpreadsheetApplication::dispatch(const QString& name, CallKind kind,
                                            const QList<OleVariant>& arguments) {
    if (nameIs(name, QLatin1String("Cells"))) {
        expectCall(name, kind, CallKind::PropertyPut, arguments, 3, 3);
        if (mWorkbooks.empty())
            throw AutomationError(QStringLiteral("No workbook is open"));
        if (arguments[2].isObject())
            throw AutomationError(QStringLiteral("Type mismatch: a cell cannot hold an object"));
        mWorkbooks.back()->setCell(integerArgument(arguments[0], name),
                                   integerArgument(arguments[1], name), arguments[2].value());
        return {};
    }
    if (nameIs(name, QLatin1String("Columns"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 1, 1);
        if (mWorkbooks.empty())
            throw AutomationError(QStringLiteral("No workbook is open"));
        return std::make_shared<Column>(mWorkbooks.back(), integerArgument(arguments[0], name));
    }
    if (nameIs(name, QLatin1String("Workbooks"))) {
        expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
        return std::make_shared<Workbooks>(
            std::static_pointer_cast<SpreadsheetApplication>(shared_from_this()));
    }
    automation::unknownMember(typeName(), name);
}

OleVariant Workbook::dispatch(const QString& name, CallKind kind,
                              const QList<OleVariant>& arguments) {
    if (nameIs(name, QLatin1String("SaveAs"))) {
        expectCall(name, kind, CallKind::Method, arguments, 1, 1);
        requireOpen();
        const QString target = automation::saveName(automation::textArgument(arguments[0], name),
                                                    QStringLiteral(".xlsx"));
        automation::writeThroughTemporary(target,
                                          [this](const QByteArray& path) { mSheet.save(path); });
        return {};
    }
    if (nameIs(name, QLatin1String("Close"))) {
        expectCall(name, kind, CallKind::Method, arguments, 0, 0);
        requireOpen();
        close();
        return {};
    }
    automation::unknownMember(typeName(), name);
}

void Workbook::close() {
    mClosed = true;
    mSheet = {};
    // The application may hold the last reference to this workbook.
    const auto self = shared_from_this();
    if (const auto application = mApplication.lock())
        application->remove(this);
}

} // namespace

AutomationObjectPtr createSpreadsheetApplication() {
    return std::make_shared<SpreadsheetApplication>();
}

AutomationObjectPtr createSpreadsheetSheet() {
    // The workbook keeps no hold on the application, which is hidden and
    // ends with the creation.
    return std::make_shared<SpreadsheetApplication>()->addWorkbook();
}

} // namespace platform::servers
