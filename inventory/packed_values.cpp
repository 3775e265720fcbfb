#include "inventory/packed_values.h"

void AppendNumber(std::string& strOut, std::uint64_t nValue)
{
    char bytes[10];
    size_t nCount = 0;
    for (; nValue >= 0x80; nValue >>= 7)
        bytes[nCount++] = static_cast<char>((nValue & 0x7f) | 0x80);
    bytes[nCount++] = static_cast<char>(nValue);
    strOut.append(bytes, nCount);
}

void AppendBytes(std::string& strOut, std::string_view bytes)
{
    AppendNumber(strOut, bytes.size());
    strOut.append(bytes.data(), bytes.size());
}

bool TakeNumber(const std::string& strIn, size_t& nPos, std::uint64_t& nValue)
{
    nValue = 0;
    for (int nShift = 0; nPos < strIn.size() && nShift < 64; nShift += 7)
    {
        const auto nByte = static_cast<unsigned char>(strIn[nPos++]);
        nValue |= static_cast<std::uint64_t>(nByte & 0x7f) << nShift;
        if ((nByte & 0x80) == 0)
            return true;
    }
    return false;
}

bool TakeBytes(const std::string& strIn, size_t& nPos, std::string& strBytes)
{
    std::uint64_t nSize = 0;
    if (!TakeNumber(strIn, nPos, nSize) || strIn.size() - nPos < nSize)
        return false;
    strBytes.assign(strIn, nPos, static_cast<size_t>(nSize));
    nPos += static_cast<size_t>(nSize);
    return true;
}
