#include "records/statements.h"

#include "platform/ado.h"
#include "platform/stored_text.h"

namespace records {

namespace {
// Read back with storedText: a text that begins with U+FEFF keeps it.
QString quoted(const QString& text) {
    return QLatin1Char('\'') + platform::storedText(platform::quoteDoubled(text.toStdString())) +
           QLatin1Char('\'');
}
} // namespace

std::string insertStatement(const ColumnValues& values) {
    QStringList columns;
    QStringList texts;
    for (const auto& [column, text] : values) {
        columns << column;
        texts << quoted(text);
    }
    return (QStringLiteral("Insert into data (") + columns.join(QLatin1Char(',')) +
            QStringLiteral(") values (") + texts.join(QLatin1Char(',')) + QLatin1Char(')'))
        .toStdString();
}

std::string updateStatement(const ColumnValues& values, const QString& key) {
    QString sql;
    bool first = true;
    for (const auto& [column, text] : values) {
        sql += (first ? QStringLiteral("update data  set ") : QStringLiteral(", ")) + column +
               QLatin1Char('=') + quoted(text) + QStringLiteral(" \r\n");
        first = false;
    }
    sql += QStringLiteral("where  编号=") + key + QStringLiteral("\r\n");
    return sql.toStdString();
}

bool isRecordKey(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString countText(const QString& prefix, int count, const QString& suffix) {
    return prefix + QString::number(count) + suffix;
}

} // namespace records
