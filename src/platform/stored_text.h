#pragma once

// Texts read from a database or a file the program keeps, as UTF-8 bytes.

#include <QString>

#include <string_view>

namespace platform {

// Every character of the bytes, a leading U+FEFF included: Qt's own UTF-8
// reading drops a byte order mark at the start, and a stored text that
// begins with one would lose it on its next edit.
QString storedText(std::string_view utf8);

} // namespace platform
