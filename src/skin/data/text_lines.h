#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace skin {

// Splits text into lines at CR, LF or CR LF. A NUL byte ends the text, and a
// break at the very end does not start another (empty) line.
QList<QByteArray> splitLines(const QByteArray& text);

// Lowercases the ASCII letters only; every other character stays.
QString asciiLower(QString text);
QByteArray asciiLower(QByteArray text);

} // namespace skin
