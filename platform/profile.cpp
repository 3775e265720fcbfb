#include "platform/profile.h"

#include "platform/compare_no_case.h"
#include "platform/folder_search.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& str)
{
    size_t nBegin = 0;
    size_t nEnd = str.size();
    while (nBegin < nEnd && IsBlank(str[nBegin]))
        ++nBegin;
    while (nEnd > nBegin && IsBlank(str[nEnd - 1]))
        --nEnd;
    return str.substr(nBegin, nEnd - nBegin);
}

enum class ELineKind
{
    Blank,
    Section,
    Key,
};

// One line of a profile file, as the reader sees it.
struct CProfileLine
{
    ELineKind kind = ELineKind::Blank;
    std::string strName; // section or key name, trimmed
    std::string strValue;
    bool bHasValue = false; // the key line has an "="
};

CProfileLine ParseLine(const std::string& strRaw)
{
    CProfileLine line;
    const std::string strLine = Trim(strRaw);
    if (strLine.empty())
        return line;
    const size_t nClose = strLine.rfind(']');
    if (strLine[0] == '[' && nClose != std::string::npos)
    {
        line.kind = ELineKind::Section;
        line.strName = Trim(strLine.substr(1, nClose - 1));
        return line;
    }
    line.kind = ELineKind::Key;
    const size_t nEquals = strLine.find('=');
    if (nEquals == std::string::npos)
    {
        line.strName = strLine;
        return line;
    }
    line.strName = Trim(strLine.substr(0, nEquals));
    line.strValue = Trim(strLine.substr(nEquals + 1));
    line.bHasValue = true;
    const std::string& v = line.strValue;
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        line.strValue = v.substr(1, v.size() - 2);
    return line;
}

// Finds the first key of a name in the first section of a name; false when
// the file, the section or the key (with an "=") is missing.
bool LookUpValue(const std::string& strSection, const std::string& strKey,
                 const std::string& strPath, std::string& strValue)
{
    CTextFileReader reader;
    if (!reader.Open(strPath))
        return false;
    const std::string strWantedSection = Trim(strSection);
    const std::string strWantedKey = Trim(strKey);
    bool bInSection = false;
    std::string strRaw;
    while (reader.ReadLine(strRaw))
    {
        CProfileLine line = ParseLine(strRaw);
        if (line.kind == ELineKind::Section)
        {
            if (bInSection)
                return false;
            bInSection = EqualsNoCase(line.strName, strWantedSection);
        }
        else if (bInSection && line.kind == ELineKind::Key &&
                 EqualsNoCase(line.strName, strWantedKey))
        {
            if (!line.bHasValue)
                return false;
            strValue = std::move(line.strValue);
            return true;
        }
    }
    return false;
}

// The text up to the first NUL, at most nSize - 1 characters.
std::string CutForBuffer(const std::string& str, size_t nSize)
{
    if (nSize == 0)
        return std::string();
    return str.substr(0, std::min(str.find('\0'), nSize - 1));
}

bool HoldsLineBreak(const std::string& str)
{
    return str.find_first_of("\r\n") != std::string::npos;
}

} // namespace

std::string ProfileReadStringWithSize(const std::string& strSection, const std::string& strKey,
                                      const std::string& strDefault, size_t nSize,
                                      const std::string& strPath)
{
    std::string strValue;
    if (LookUpValue(strSection, strKey, strPath, strValue))
        return CutForBuffer(strValue, nSize);
    size_t nEnd = strDefault.size();
    while (nEnd > 0 && strDefault[nEnd - 1] == ' ')
        --nEnd;
    return CutForBuffer(strDefault.substr(0, nEnd), nSize);
}

std::vector<std::string> ProfileSectionNames(const std::string& strPath)
{
    std::vector<std::string> names;
    CTextFileReader reader;
    if (!reader.Open(strPath))
        return names;
    std::string strRaw;
    while (reader.ReadLine(strRaw))
    {
        CProfileLine line = ParseLine(strRaw);
        if (line.kind != ELineKind::Section)
            continue;
        const auto itSame =
            std::find_if(names.begin(), names.end(),
                         [&](const std::string& str) { return EqualsNoCase(str, line.strName); });
        if (itSame == names.end())
            names.push_back(std::move(line.strName));
    }
    return names;
}

int ProfileReadInt(const std::string& strSection, const std::string& strKey, int nDefault,
                   const std::string& strPath)
{
    // Read as the platform does: through the string read, an empty value
    // counting as a missing one.
    const std::string strValue = ProfileReadStringWithSize(strSection, strKey, "", 30, strPath);
    if (strValue.empty())
        return nDefault;
    size_t i = 0;
    while (i < strValue.size() && IsBlank(strValue[i]))
        ++i;
    bool bNegative = false;
    if (i < strValue.size() && (strValue[i] == '-' || strValue[i] == '+'))
        bNegative = strValue[i++] == '-';
    uint32_t nResult = 0;
    for (; i < strValue.size() && strValue[i] >= '0' && strValue[i] <= '9'; ++i)
        nResult = nResult * 10u + static_cast<uint32_t>(strValue[i] - '0');
    if (bNegative)
        nResult = 0u - nResult;
    return static_cast<int>(nResult);
}

bool ProfileWriteString(const std::string& strSection, const std::string& strKey,
                        const std::string& strValue, const std::string& strPath)
{
    const std::string strWantedSection = Trim(strSection);
    const std::string strWantedKey = Trim(strKey);
    if (HoldsLineBreak(strSection) || HoldsLineBreak(strKey) || HoldsLineBreak(strValue) ||
        strWantedKey.find('=') != std::string::npos ||
        (!strWantedKey.empty() && strWantedKey[0] == '['))
        return false;

    std::vector<std::string> lines;
    if (!ReadTextLines(strPath, lines) && EntryExists(strPath))
        return false;

    size_t nSection = lines.size(); // the header line of the first section of the name
    size_t nInsertAt = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const CProfileLine line = ParseLine(lines[i]);
        if (line.kind == ELineKind::Section)
        {
            if (nSection != lines.size())
                break;
            if (EqualsNoCase(line.strName, strWantedSection))
                nSection = nInsertAt = i;
        }
        else if (nSection != lines.size() && line.kind == ELineKind::Key)
        {
            if (EqualsNoCase(line.strName, strWantedKey))
            {
                lines[i] = line.strName + "=" + strValue;
                return ReplaceFileContents(strPath, JoinCrLfLines(lines));
            }
            nInsertAt = i;
        }
    }
    const std::string strKeyLine = strWantedKey + "=" + strValue;
    if (nSection == lines.size())
    {
        lines.push_back("[" + strWantedSection + "]");
        lines.push_back(strKeyLine);
    }
    else
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(nInsertAt) + 1, strKeyLine);
    return ReplaceFileContents(strPath, JoinCrLfLines(lines));
}
