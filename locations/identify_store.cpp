#include "locations/identify_store.h"

#include "inventory/stores/netscape/netscape_line.h"
#include "platform/compare_no_case.h"
#include "platform/folder_search.h"
#include "platform/text_file.h"

#include <cctype>
#include <sstream>

namespace
{
constexpr size_t kSniffedBytes = 64 * 1024;
const char kSqliteMagic[] = "SQLite format 3"; // and a NUL: the first 16 bytes

bool IsFlag(const std::string& strField)
{
    return EqualsNoCase(strField, "TRUE") || EqualsNoCase(strField, "FALSE");
}

bool IsNumber(const std::string& strField)
{
    size_t nStart = !strField.empty() && strField[0] == '-' ? 1 : 0;
    if (strField.size() <= nStart)
        return false;
    for (size_t i = nStart; i < strField.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(strField[i])))
            return false;
    return true;
}

// Domain, include-subdomains flag, path, secure flag, expiry, name, value.
bool HasCookieFields(std::string_view kept)
{
    std::vector<std::string> fields;
    std::string strField;
    std::istringstream stream{std::string(kept)};
    while (std::getline(stream, strField, '\t'))
        fields.push_back(strField);
    if (!kept.empty() && kept.back() == '\t')
        fields.emplace_back();
    return fields.size() >= 7 && IsFlag(fields[1]) && IsFlag(fields[3]) && IsNumber(fields[4]);
}

bool IsCookieText(const std::string& strBytes)
{
    if (strBytes.find('\0') != std::string::npos)
        return false;
    std::istringstream stream(strBytes);
    std::string strLine;
    while (std::getline(stream, strLine))
    {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        std::string_view name, kept;
        if (IsNSHeaderLine(strLine) ||
            (ParseNSCookieLine(strLine, name, kept) && HasCookieFields(kept)))
            return true;
    }
    return false;
}
} // namespace

// The first kind of a shape.
bool KindOfShape(EStoreShape shape, EBrowser& browser)
{
    for (const CStoreKind& kind : StoreKinds())
        if (kind.shape == shape)
        {
            browser = kind.browser;
            return true;
        }
    return false;
}

// The last kind that claims the database.
bool KindOfDatabase(const std::string& strPath, EBrowser& browser, std::string& strWhyNot)
{
    bool bClaimed = false;
    std::vector<const char*> names;
    for (const CStoreKind& kind : StoreKinds())
    {
        if (kind.shape != EStoreShape::Database)
            continue;
        names.push_back(kind.pszBrowserName);
        if (kind.fnClaimsDatabase && kind.fnClaimsDatabase(strPath))
        {
            browser = kind.browser;
            bClaimed = true;
        }
    }
    if (bClaimed)
        return true;
    strWhyNot = "it is a database without the cookie table of ";
    for (size_t i = 0; i < names.size(); ++i)
        strWhyNot += std::string(i == 0 ? "" : i + 1 < names.size() ? ", " : " or ") + names[i];
    return false;
}

bool IdentifyCookieStore(const std::string& strPath, EBrowser& browser, std::string& strWhyNot)
{
    if (IsFolder(strPath) && KindOfShape(EStoreShape::Folder, browser))
        return true;
    if (!EntryExists(strPath))
    {
        strWhyNot = "it does not exist";
        return false;
    }
    if (!IsRegularFile(strPath))
    {
        strWhyNot = "it is neither a file nor a folder";
        return false;
    }
    std::string strBytes;
    if (!ReadFileBytes(strPath, kSniffedBytes, strBytes))
    {
        strWhyNot = "it cannot be read";
        return false;
    }
    if (strBytes.compare(0, sizeof kSqliteMagic, kSqliteMagic, sizeof kSqliteMagic) == 0)
        return KindOfDatabase(strPath, browser, strWhyNot);
    if (IsCookieText(strBytes) && KindOfShape(EStoreShape::TextFile, browser))
        return true;
    strWhyNot = "it is not a cookie file or a cookie database";
    return false;
}
