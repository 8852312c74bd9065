#pragma once

// The call sequences with which the sales window exports its list, made here
// directly on the automation servers, for the tests of the servers.

#include "platform/automation.h"

#include <QList>
#include <QStringList>
#include <QVariant>

namespace automationexports {

using platform::Automation;
using platform::CallKind;
using platform::OleVariant;

// Spreadsheet: row 1 the header, then the rows from column 1 on; save, close.
inline void exportSheet(const QStringList& header, const QList<QVariantList>& rows,
                        const QString& fileName) {
    const QString cells = QStringLiteral("Cells");
    const OleVariant excel = Automation::createOleObject(QStringLiteral("Excel.Application"));
    OleVariant book = Automation::createOleObject(QStringLiteral("Excel.Sheet"));
    const OleVariant workbooks = excel.invoke(QStringLiteral("workbooks"), CallKind::MethodOrGet);
    book = workbooks.invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    for (int column = 1; column <= header.size(); ++column)
        excel.invoke(cells, CallKind::PropertyPut, {1, column, header[column - 1]});
    int row = 2;
    for (const QVariantList& values : rows) {
        for (int column = 1; column <= values.size(); ++column)
            excel.invoke(cells, CallKind::PropertyPut, {row, column, values[column - 1]});
        ++row;
    }
    book.invoke(QStringLiteral("SaveAS"), CallKind::Method, {fileName});
    book.invoke(QStringLiteral("close"), CallKind::Method);
}

// Document: a table of (rows + 1) rows and as many columns as the header has;
// row 1 the titles of columns 2 to last, then the rows' values of those
// columns; table column 1 stays empty. Save, close.
inline void exportDocument(const QStringList& header, const QList<QStringList>& rows,
                           const QString& fileName) {
    const OleVariant word = Automation::createOleObject(QStringLiteral("word.Application"));
    word.invoke(QStringLiteral("documents"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("Add"), CallKind::MethodOrGet);
    const OleVariant range = word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("paragraphs"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("Add"), CallKind::MethodOrGet)
                                 .invoke(QStringLiteral("range"), CallKind::MethodOrGet);
    const OleVariant table =
        word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("tables"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("Add"), CallKind::Method,
                    {range, static_cast<int>(rows.size()) + 1, static_cast<int>(header.size())});
    const auto write = [&](int row, int column, const QString& text) {
        table.invoke(QStringLiteral("Cell"), CallKind::Method, {row, column})
            .invoke(QStringLiteral("range"), CallKind::MethodOrGet)
            .invoke(QStringLiteral("InsertAfter"), CallKind::Method, {text});
    };
    for (int column = 2; column <= header.size(); ++column)
        write(1, column, header[column - 1]);
    int row = 2;
    for (const QStringList& values : rows) {
        for (int column = 2; column <= values.size(); ++column)
            write(row, column, values[column - 1]);
        ++row;
    }
    word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("saveas"), CallKind::Method, {fileName});
    word.invoke(QStringLiteral("activedocument"), CallKind::MethodOrGet)
        .invoke(QStringLiteral("close"), CallKind::Method);
}

} // namespace automationexports
