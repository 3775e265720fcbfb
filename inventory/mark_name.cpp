#include "inventory/mark_name.h"

#include <cstdint>
#include <functional>

namespace
{
char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool CMarkNameEqual::operator()(std::string_view strFirst, std::string_view strSecond) const
{
    if (!bIgnoreCase)
        return strFirst == strSecond;
    if (strFirst.size() != strSecond.size())
        return false;
    for (size_t i = 0; i < strFirst.size(); ++i)
        if (AsciiLower(strFirst[i]) != AsciiLower(strSecond[i]))
            return false;
    return true;
}

// FNV-1a over the lowered bytes: names that differ only in case hash alike.
size_t CMarkNameHash::operator()(std::string_view strName) const
{
    if (!bIgnoreCase)
        return std::hash<std::string_view>()(strName);
    std::uint64_t nHash = 14695981039346656037ull;
    for (char c : strName)
    {
        nHash ^= static_cast<unsigned char>(AsciiLower(c));
        nHash *= 1099511628211ull;
    }
    return static_cast<size_t>(nHash);
}

bool SameMarkName(EBrowser browser, std::string_view strFirst, std::string_view strSecond)
{
    return CMarkNameEqual{NamesIgnoreCase(browser)}(strFirst, strSecond);
}
