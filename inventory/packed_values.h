#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Values packed one after another into a byte string, as the copies kept for
// undo store them. Numbers go seven bits to a byte, lowest first, the high bit
// set on every byte but the last: lengths and most values take a few bytes.
void AppendNumber(std::string& strOut, std::uint64_t nValue);
// Bytes go as their length, then themselves.
void AppendBytes(std::string& strOut, std::string_view bytes);

// Each reads the value at nPos and moves nPos past it; false when strIn ends
// before the value does.
bool TakeNumber(const std::string& strIn, size_t& nPos, std::uint64_t& nValue);
bool TakeBytes(const std::string& strIn, size_t& nPos, std::string& strBytes);
