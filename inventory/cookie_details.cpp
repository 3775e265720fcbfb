#include "inventory/cookie_details.h"

#include "inventory/stores/netscape/netscape_line.h"
#include "platform/text_file.h"

#include <cstdio>
#include <ctime>
#include <string_view>

namespace
{
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kSeconds1601To1970 = 11644473600;

// The number a field holds, as C's strtoll reads it: leading blanks, a sign,
// digits up to the first other character; 0 when there are none. Saturates
// instead of overflowing.
std::int64_t ParseInteger(std::string_view text)
{
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return 0;
    const bool bNegative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    std::int64_t nValue = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        const int nDigit = text[i] - '0';
        if (nValue > (INT64_MAX - nDigit) / 10)
            return bNegative ? INT64_MIN : INT64_MAX;
        nValue = nValue * 10 + nDigit;
    }
    return bNegative ? -nValue : nValue;
}

std::uint64_t ParseWord(const std::string& strText)
{
    const std::int64_t nValue = ParseInteger(strText);
    return nValue < 0 ? 0 : static_cast<std::uint64_t>(nValue) & 0xFFFFFFFFu;
}

// "host/path" of an Internet Explorer record: the path starts at the first "/".
void SplitHostPath(const std::string& strHostPath, CCookieFacts& facts)
{
    const size_t nSlash = strHostPath.find('/');
    facts.strHost = strHostPath.substr(0, nSlash);
    facts.strPath = nSlash == std::string::npos ? std::string() : strHostPath.substr(nSlash);
}

// A date the C library cannot convert, in UTC (days to civil date, proleptic
// Gregorian calendar).
std::string FormatUtc(std::int64_t nSeconds)
{
    std::int64_t nDays = nSeconds / 86400;
    std::int64_t nRest = nSeconds % 86400;
    if (nRest < 0)
    {
        nRest += 86400;
        --nDays;
    }
    nDays += 719468;
    const std::int64_t nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const std::int64_t nDayOfEra = nDays - nEra * 146097;
    const std::int64_t nYearOfEra =
        (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const std::int64_t nDayOfYear =
        nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const std::int64_t nMonthIndex = (5 * nDayOfYear + 2) / 153;
    const std::int64_t nDay = nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1;
    const std::int64_t nMonth = nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9;
    const std::int64_t nYear = nYearOfEra + nEra * 400 + (nMonth <= 2 ? 1 : 0);
    char szText[64];
    std::snprintf(szText, sizeof szText, "%lld-%02lld-%02lld %02lld:%02lld:%02lld UTC",
                  static_cast<long long>(nYear), static_cast<long long>(nMonth),
                  static_cast<long long>(nDay), static_cast<long long>(nRest / 3600),
                  static_cast<long long>(nRest / 60 % 60), static_cast<long long>(nRest % 60));
    return szText;
}

bool ToLocalTime(std::int64_t nSeconds, std::tm& local)
{
    const std::time_t nTime = static_cast<std::time_t>(nSeconds);
    if (static_cast<std::int64_t>(nTime) != nSeconds)
        return false;
#ifdef _WIN32
    return localtime_s(&local, &nTime) == 0;
#else
    return localtime_r(&nTime, &local) != nullptr;
#endif
}
} // namespace

bool ReadIECookieFile(const std::string& strPath, std::vector<CCookieFacts>& cookies)
{
    cookies.clear();
    std::vector<std::string> lines;
    if (!ReadTextLines(strPath, lines))
        return false;
    constexpr size_t kRecordLines = 9;
    for (size_t nFirst = 0; nFirst + kRecordLines - 1 <= lines.size(); nFirst += kRecordLines)
    {
        // The record's last line, "*", may be missing from the file's end.
        const std::string* pLine = &lines[nFirst];
        CCookieFacts facts;
        facts.strName = pLine[0];
        facts.nValueBytes = pLine[1].size();
        SplitHostPath(pLine[2], facts);
        const std::uint64_t nFlags = ParseWord(pLine[3]);
        facts.bSecure = (nFlags & 0x1) != 0;
        facts.bHttpOnly = (nFlags & 0x2000) != 0;
        const std::uint64_t nExpiry = ParseWord(pLine[5]) << 32 | ParseWord(pLine[4]);
        facts.bSession = nExpiry == 0;
        facts.nExpires = facts.bSession ? 0 : FileTimeToUnixSeconds(nExpiry);
        cookies.push_back(std::move(facts));
    }
    return true;
}

bool ParseNSCookieFacts(const std::string& strLine, CCookieFacts& facts)
{
    std::string_view name;
    std::string_view kept;
    if (!ParseNSCookieLine(strLine, name, kept))
        return false;
    facts = CCookieFacts();
    facts.bHttpOnly = kept.substr(0, name.data() - kept.data()) == NS_HTTPONLY_PREFIX;
    std::string_view fields[7];
    size_t nFields = 0;
    for (std::string_view rest = kept.substr(name.data() - kept.data()); nFields < 7;)
    {
        const size_t nTab = nFields < 6 ? rest.find('\t') : std::string_view::npos;
        fields[nFields++] = rest.substr(0, nTab);
        if (nTab == std::string_view::npos)
            break;
        rest.remove_prefix(nTab + 1);
    }
    facts.strHost = std::string(fields[0]);
    facts.strPath = std::string(fields[2]);
    facts.bSecure = fields[3] == "TRUE";
    const std::int64_t nExpiry = ParseInteger(fields[4]);
    facts.bSession = nExpiry <= 0;
    facts.nExpires = facts.bSession ? 0 : nExpiry;
    facts.strName = std::string(fields[5]);
    facts.nValueBytes = fields[6].size();
    return true;
}

std::int64_t FileTimeToUnixSeconds(std::uint64_t nFileTime)
{
    return static_cast<std::int64_t>(nFileTime / 10000000) - kSeconds1601To1970;
}

std::int64_t ChromiumTimeToUnixSeconds(std::int64_t nMicroseconds)
{
    return nMicroseconds / 1000000 - kSeconds1601To1970;
}

std::int64_t FirefoxExpiryToUnixSeconds(std::int64_t nExpiry)
{
    // 10^12 is September 2001 in milliseconds and the year 33658 in seconds.
    constexpr std::int64_t kMillisecondsFrom = 1000000000000;
    return nExpiry >= kMillisecondsFrom ? nExpiry / 1000 : nExpiry;
}

std::string FormatExpiry(const CCookieFacts& facts)
{
    if (facts.bSession)
        return "End of session";
    std::tm local{};
    char szText[128];
    if (ToLocalTime(facts.nExpires, local) &&
        std::strftime(szText, sizeof szText, "%Y-%m-%d %H:%M:%S %Z", &local) > 0)
        return szText;
    return FormatUtc(facts.nExpires);
}

std::string FormatValueSize(const CCookieFacts& facts)
{
    return std::to_string(facts.nValueBytes) + (facts.bValueEncrypted ? " encrypted" : "");
}
