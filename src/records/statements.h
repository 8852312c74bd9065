#pragma once

// The SQL texts the record windows send. Values go between single quotes with
// their own quotes doubled, so any typed text is stored as typed and a
// statement never reaches another row than the one meant.

#include <QString>
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

namespace records {

using ColumnValues = std::vector<std::pair<QString, QString>>; // column, text

// Insert into data (a,b) values ('x','y') — on one line.
std::string insertStatement(const ColumnValues& values);

// update data  set a='x' CRLF , b='y' CRLF where  编号=<key>
std::string updateStatement(const ColumnValues& values, const QString& key);

// True when the text is a key the program put into the hidden ID box: one or
// more ASCII digits.
bool isRecordKey(const QString& text);

// "共" + count + suffix, as the refresh writes it.
QString countText(const QString& prefix, int count, const QString& suffix);

} // namespace records
