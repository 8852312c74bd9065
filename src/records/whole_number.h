#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace records {

// A text read as a whole decimal number: an optional sign and one or more
// digits 0 to 9, nothing else, within the signed 32-bit range. Nothing for
// any other text (empty, 2.5, 12元, blanks, too large).
std::optional<std::int32_t> wholeNumber(QStringView text);

} // namespace records
