#include "inventory/stores/netscape/netscape_line.h"

namespace
{
const char kWhiteSpace[] = " \t\r\n\v\f";
} // namespace

bool ParseNSCookieLine(const std::string& strLine, std::string_view& name, std::string_view& kept)
{
    static const std::string_view kHttpOnly = NS_HTTPONLY_PREFIX;
    const size_t nFirst = strLine.find_first_not_of(kWhiteSpace);
    if (nFirst == std::string::npos)
        return false;
    const std::string_view line(strLine);
    size_t nNameStart = nFirst;
    if (line[nFirst] == '#')
    {
        if (line.substr(nFirst, kHttpOnly.size()) != kHttpOnly)
            return false;
        nNameStart += kHttpOnly.size();
    }
    const size_t nLast = strLine.find_last_not_of(kWhiteSpace);
    const size_t nTab = strLine.find('\t', nNameStart);
    if (nTab == std::string::npos || nTab > nLast)
        return false;
    const size_t nLastTab = strLine.rfind('\t');
    const size_t nEnd = nLastTab > nLast ? nLastTab : nLast;
    name = line.substr(nNameStart, nTab - nNameStart);
    kept = line.substr(nFirst, nEnd - nFirst + 1);
    return true;
}

bool IsNSHeaderLine(const std::string& strLine)
{
    return !strLine.empty() && strLine[0] == '#' && strLine.rfind(NS_HTTPONLY_PREFIX, 0) != 0 &&
           (strLine.find("# HTTP Cookie File") != std::string::npos ||
            strLine.find("# Netscape HTTP Cookie File") != std::string::npos);
}

bool IsNSOtherLine(const std::string& strLine)
{
    const size_t nFirst = strLine.find_first_not_of(kWhiteSpace);
    std::string_view name, kept;
    return nFirst != std::string::npos && strLine[nFirst] != '#' &&
           !ParseNSCookieLine(strLine, name, kept);
}
