#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCookieStore;

// The browser names: the browsers' keys in the records, the protection lists,
// the Netscape rewrite and the list's Browser column.
#define IE_BROWSER_NAME "Internet Explorer"
#define NS_BROWSER_NAME "Netscape Browser"
#define FF_BROWSER_NAME "Firefox"
#define CR_BROWSER_NAME "Chromium"
#define EP_BROWSER_NAME "GNOME Web"

// The protection lists, one per browser, in the data folder.
#define IE_PROTECTION_FILE "IEPROT.DAT"
#define NS_PROTECTION_FILE "NSPROT.DAT"
#define FF_PROTECTION_FILE "FFPROT.DAT"
#define CR_PROTECTION_FILE "CRPROT.DAT"
#define EP_PROTECTION_FILE "EPPROT.DAT"

// The sections of the location file.
#define LOCATION_SECTION_IE "IE"
#define LOCATION_SECTION_NS "NS"
#define LOCATION_SECTION_FF "FF"
#define LOCATION_SECTION_CR "CR"
#define LOCATION_SECTION_EP "EP"

// The browser whose store a record comes from, the one way a record's kind is
// told. The values number the rows of StoreKinds(), the order in which the
// inventory reads the stores.
enum class EBrowser
{
    InternetExplorer,
    Netscape,
    Firefox,
    Chromium,
    Epiphany, // GNOME Web
};
constexpr size_t kBrowserCount = 5;

inline size_t BrowserIndex(EBrowser browser)
{
    return static_cast<size_t>(browser);
}

// What a store of the kind is on disk. It decides which list of the Find
// Cookie Location dialog shows its locations and how a path given by hand is
// recognised as one of its stores.
enum class EStoreShape
{
    Folder,   // one file per cookie; the Find dialog's folder list
    TextFile, // cookies.txt lines; the Find dialog's file list
    Database, // an SQLite database; the Find dialog's database list
};

// One kind of cookie store, one row of StoreKinds().
struct CStoreKind
{
    EBrowser browser;
    const char* pszBrowserName;     // the Browser column
    const char* pszLocationSection; // its section of Location.DAT
    const char* pszProtectionFile;  // its protection list in the data folder
    // A kind added since the first two: its protection list is neither read
    // nor written while none of its stores is listed.
    bool bAdditive;
    // A protection line names the cookies whose host equals it ignoring ASCII
    // case (host names); otherwise names match exactly.
    bool bNamesIgnoreCase;
    EStoreShape shape;
    int nFindImage; // its image in the Find dialog's lists
    // Finds the kind's stores below a home folder, in the order they are
    // listed; null for a kind found from the registry, the Windows folder and
    // the drives.
    std::vector<std::string> (*fnFindInHome)(const std::string& strHome);
    // For a Database kind: whether a database is one of this kind's. Every
    // row is asked and the last that claims a database has it: a kind added
    // later tells its databases apart from those of the kinds before it.
    bool (*fnClaimsDatabase)(const std::string& strPath);
    // Whether a running browser holds the store now ("In use"); null when the
    // kind has no such check.
    bool (*fnIsInUse)(const std::string& strStore);
    std::unique_ptr<CCookieStore> (*fnMakeStore)();
    // What the start-up check says when the first remembered location is
    // missing, "%s" standing for it; null when start-up does not check it.
    const char* pszMissingMessage;
};

// Every kind, by BrowserIndex.
const std::array<CStoreKind, kBrowserCount>& StoreKinds();
const CStoreKind& KindOf(EBrowser browser);

// The browser's name, one string per browser for the life of the program.
const std::string& BrowserName(EBrowser browser);
// The browser of a name; false when no browser has that name exactly.
bool BrowserOfName(std::string_view strName, EBrowser& browser);
