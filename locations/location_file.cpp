#include "locations/location_file.h"

#include "app/profile_helpers.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

namespace
{
std::string LocationKey(size_t nNumber)
{
    return "Location " + std::to_string(nNumber);
}

void ReadSectionInto(const std::string& strFile, const char* pSection,
                     std::vector<std::string>& locations)
{
    locations.clear();
    ReadLocationSection(strFile, pSection,
                        [&locations](const std::string& strPath) { locations.push_back(strPath); });
}

// A section's lines; entries the file could not hold as one key (empty, or
// holding a line break) are left out so that the numbering has no gap.
void AppendSection(const char* pSection, const std::vector<std::string>& locations,
                   std::vector<std::string>& lines)
{
    size_t nNumber = 0;
    for (const std::string& strPath : locations)
    {
        if (strPath.empty() || strPath.find_first_of("\r\n") != std::string::npos)
            continue;
        if (nNumber == 0)
            lines.push_back(std::string("[") + pSection + "]");
        lines.push_back(LocationKey(++nNumber) + "=" + strPath);
    }
}

bool CheckFirstLocation(const std::string& strFile, const CStoreKind& kind,
                        const std::function<void(const std::string&)>& fnShowMessage)
{
    const std::string strPath =
        ReadProfileString(kind.pszLocationSection, LocationKey(1), "", strFile);
    if (strPath.empty() || PathExists(strPath))
        return true;
    std::string strMessage = kind.pszMissingMessage;
    strMessage.replace(strMessage.find("%s"), 2, strPath);
    fnShowMessage(strMessage);
    return false;
}
} // namespace

void ReadLocationSection(const std::string& strFile, const std::string& strSection,
                         const std::function<void(const std::string&)>& fnAdd)
{
    for (size_t nNumber = 1;; ++nNumber)
    {
        const std::string strPath =
            ReadProfileString(strSection, LocationKey(nNumber), "", strFile);
        if (strPath.empty())
            return;
        fnAdd(strPath);
    }
}

void LoadLocations(const std::string& strFile, std::vector<std::string>& ieLocations,
                   std::vector<std::string>& nsLocations)
{
    ReadSectionInto(strFile, LOCATION_SECTION_IE, ieLocations);
    ReadSectionInto(strFile, LOCATION_SECTION_NS, nsLocations);
}

CBrowserLocations LoadBrowserLocations(const std::string& strFile)
{
    CBrowserLocations locations;
    for (const CStoreKind& kind : StoreKinds())
        ReadSectionInto(strFile, kind.pszLocationSection, locations[BrowserIndex(kind.browser)]);
    return locations;
}

bool SaveLocations(const std::string& strFile, const CBrowserLocations& locations)
{
    // The whole new file is written in one replacement, so a failed write
    // leaves the remembered locations as they were.
    std::vector<std::string> lines;
    for (const CStoreKind& kind : StoreKinds())
        AppendSection(kind.pszLocationSection, locations[BrowserIndex(kind.browser)], lines);
    return ReplaceFileContents(strFile, JoinCrLfLines(lines));
}

bool ValidateLocations(const std::string& strFile,
                       const std::function<void(const std::string&)>& fnShowMessage)
{
    if (!PathExists(strFile))
        return false;
    for (const CStoreKind& kind : StoreKinds())
        if (kind.pszMissingMessage && !CheckFirstLocation(strFile, kind, fnShowMessage))
            return false;
    return true;
}
