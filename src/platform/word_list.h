#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace platform {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits a word list's text into entries: a line ends at CR, LF or CR LF; an
// empty line is an empty entry; entries are not trimmed; the end of the last
// line needs no line break.
QStringList splitWordList(const QString& text);

// Decodes a word list's bytes: UTF-8 when they are valid UTF-8 (a leading
// byte-order mark is dropped), otherwise GB18030, the code page of files kept
// from a Chinese system.
QString decodeWordListBytes(const QByteArray& bytes);

// Reads a word list file. A missing or unreadable file throws FileError.
QStringList loadWordList(const QString& path);

} // namespace platform
