#include "platform/wine_prefix.h"

#include "platform/compare_no_case.h"
#include "platform/folder_search.h"
#include "platform/text_file.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendUtf8(unsigned nCode, std::string& strOut)
{
    if (nCode < 0x80)
        strOut += static_cast<char>(nCode);
    else if (nCode < 0x800)
    {
        strOut += static_cast<char>(0xC0 | (nCode >> 6));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
    else
    {
        strOut += static_cast<char>(0xE0 | (nCode >> 12));
        strOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

// Reads an escaped name or value from line[nPos] up to the unescaped
// terminator, leaving nPos just past it. False when the terminator is missing.
bool ReadEscaped(const std::string& strLine, size_t& nPos, char cEnd, std::string& strOut)
{
    strOut.clear();
    while (nPos < strLine.size())
    {
        const char c = strLine[nPos++];
        if (c == cEnd)
            return true;
        if (c != '\\' || nPos == strLine.size())
        {
            strOut += c;
            continue;
        }
        const char cEscaped = strLine[nPos++];
        switch (cEscaped)
        {
        case 'n':
            strOut += '\n';
            break;
        case 'r':
            strOut += '\r';
            break;
        case 't':
            strOut += '\t';
            break;
        case 'x':
        {
            // Up to four hex digits: one UTF-16 unit.
            unsigned nCode = 0;
            int nDigits = 0;
            for (; nDigits < 4 && nPos < strLine.size() && HexDigit(strLine[nPos]) >= 0; ++nDigits)
                nCode = nCode * 16 + static_cast<unsigned>(HexDigit(strLine[nPos++]));
            if (nDigits == 0 || nCode == 0 || (nCode >= 0xD800 && nCode <= 0xDFFF))
                return false;
            AppendUtf8(nCode, strOut);
            break;
        }
        default:
            strOut += cEscaped;
        }
    }
    return false;
}

// The key named by a "[Software\\...] 1234567" line; false for any other line.
bool ParseKeyLine(const std::string& strLine, std::string& strKey)
{
    size_t nPos = 1;
    return !strLine.empty() && strLine[0] == '[' && ReadEscaped(strLine, nPos, ']', strKey);
}

// The name and string value of a "\"Name\"=\"value\"" line; false for other
// lines and other value types.
bool ParseStringValueLine(const std::string& strLine, std::string& strName, std::string& strValue)
{
    size_t nPos = 1;
    if (strLine.size() >= 2 && strLine[0] == '@' && strLine[1] == '=')
    {
        strName.clear();
        nPos = 2;
    }
    else if (strLine.empty() || strLine[0] != '"' || !ReadEscaped(strLine, nPos, '"', strName) ||
             nPos >= strLine.size() || strLine[nPos++] != '=')
        return false;
    if (nPos >= strLine.size() || strLine[nPos++] != '"')
        return false;
    return ReadEscaped(strLine, nPos, '"', strValue);
}

// The entry of a folder whose name equals strName without regard to case; "" if none.
std::string FindNameNoCase(const fs::path& folder, const std::string& strName)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        std::string strEntry = it->path().filename().string();
        if (EqualsNoCase(strEntry, strName))
            return strEntry;
    }
    return std::string();
}
} // namespace

std::string FindWinePrefix()
{
    std::string strPrefix;
    if (const char* pPrefix = std::getenv("WINEPREFIX"); pPrefix && *pPrefix)
        strPrefix = pPrefix;
    else if (const char* pHome = std::getenv("HOME"); pHome && *pHome)
        strPrefix = std::string(pHome) + "/.wine";
    std::error_code ec;
    return !strPrefix.empty() && fs::is_directory(strPrefix, ec) ? strPrefix : std::string();
}

bool ReadWineRegistryString(const std::string& strRegFile, const std::string& strKey,
                            const std::string& strValueName, std::string& strResult)
{
    CTextFileReader reader;
    if (!reader.Open(strRegFile))
        return false;
    bool bInKey = false;
    std::string strLine, strName, strValue;
    while (reader.ReadLine(strLine))
    {
        if (!strLine.empty() && strLine[0] == '[')
        {
            bInKey = ParseKeyLine(strLine, strName) && EqualsNoCase(strName, strKey);
            continue;
        }
        if (bInKey && ParseStringValueLine(strLine, strName, strValue) &&
            EqualsNoCase(strName, strValueName))
        {
            strResult = strValue;
            return true;
        }
    }
    return false;
}

std::string MapWinePath(const std::string& strPrefix, const std::string& strWindowsPath)
{
    if (strWindowsPath.size() < 2 || strWindowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(strWindowsPath[0])))
        return std::string();
    const fs::path devices = fs::path(strPrefix) / "dosdevices";
    const char cLetter = FoldAsciiCase(strWindowsPath[0]);
    fs::path drive = devices / (std::string(1, cLetter) + ":");
    if (!EntryExists(drive.string()))
        drive = devices / (std::string(1, static_cast<char>(cLetter - 'a' + 'A')) + ":");
    std::error_code ec;
    fs::path path = fs::canonical(drive, ec);
    if (ec)
        return std::string();

    bool bMatching = true; // false once a part was not found: the rest is taken as written
    size_t nPos = 2;
    while (nPos < strWindowsPath.size())
    {
        size_t nEnd = strWindowsPath.find_first_of("\\/", nPos);
        if (nEnd == std::string::npos)
            nEnd = strWindowsPath.size();
        const std::string strPart = strWindowsPath.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (strPart.empty())
            continue;
        if (bMatching && !EntryExists((path / strPart).string()))
        {
            const std::string strOnDisk = FindNameNoCase(path, strPart);
            bMatching = !strOnDisk.empty();
            path /= bMatching ? strOnDisk : strPart;
        }
        else
            path /= strPart;
    }
    return path.string();
}

bool CWineRegistry::ReadUserString(const std::string& strKey, const std::string& strValueName,
                                   std::string& strResult) const
{
    std::string strValue;
    if (m_strPrefix.empty() ||
        !ReadWineRegistryString(m_strPrefix + "/user.reg", strKey, strValueName, strValue) ||
        strValue.size() > REGISTRY_VALUE_MAX)
        return false;
    strResult = MapWinePath(m_strPrefix, strValue);
    return !strResult.empty();
}
