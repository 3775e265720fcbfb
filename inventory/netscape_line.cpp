#include "inventory/netscape_line.h"

bool ParseNSCookieLine(const std::string& strLine, std::string_view& name,
                       std::string_view& trimmed)
{
    static const char kWhiteSpace[] = " \t\r\n\v\f";
    const size_t nFirst = strLine.find_first_not_of(kWhiteSpace);
    if (nFirst == std::string::npos || strLine[nFirst] == '#')
        return false;
    const size_t nLast = strLine.find_last_not_of(kWhiteSpace);
    const size_t nTab = strLine.find('\t', nFirst);
    if (nTab == std::string::npos || nTab > nLast)
        return false;
    const std::string_view line(strLine);
    name = line.substr(nFirst, nTab - nFirst);
    trimmed = line.substr(nFirst, nLast - nFirst + 1);
    return true;
}
