#pragma once

// The ASCII words of statements, connection strings and settings files:
// their case folded and the blanks around them dropped. Other bytes (the
// UTF-8 of Chinese names) pass unchanged.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace platform {

inline std::string asciiLowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

inline std::string_view trimmedBlanks(std::string_view text, std::string_view blanks = " \t") {
    const auto begin = text.find_first_not_of(blanks);
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

} // namespace platform
