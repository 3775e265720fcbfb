#pragma once

#include <algorithm>
#include <string>

// ASCII letters folded to lower case; other bytes (UTF-8 sequences included)
// stay as they are.
inline char FoldAsciiCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whole-string comparison without regard to the case of ASCII letters, as the
// platform compares profile names, registry names and listed paths.
inline bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}
