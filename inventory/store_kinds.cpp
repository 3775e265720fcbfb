#include "inventory/store_kinds.h"

#include "inventory/stores/epiphany/epiphany_databases.h"
#include "inventory/stores/ie_folder/ie_folder_store.h"
#include "inventory/stores/netscape/netscape_store.h"
#include "inventory/stores/sqlite/browser_databases.h"

const std::array<CStoreKind, kBrowserCount>& StoreKinds()
{
    static const std::array<CStoreKind, kBrowserCount> s_kinds = {{
        {EBrowser::InternetExplorer, IE_BROWSER_NAME, LOCATION_SECTION_IE, IE_PROTECTION_FILE,
         false, false, EStoreShape::Folder, 0, nullptr, nullptr, nullptr, MakeIEFolderStore,
         "Jarvane is setup to search Internet Explorer Cookies in %s.\n\nThis directory does not "
         "exist. Jarvane will now help you find where these cookies hide."},
        {EBrowser::Netscape, NS_BROWSER_NAME, LOCATION_SECTION_NS, NS_PROTECTION_FILE, false, true,
         EStoreShape::TextFile, 1, nullptr, nullptr, nullptr, MakeNSFileStore,
         "Jarvane is setup to search Netscape Cookies in %s.\n\nThis file does not exist. "
         "Jarvane will now help you find where these cookies hide."},
        {EBrowser::Firefox, FF_BROWSER_NAME, LOCATION_SECTION_FF, FF_PROTECTION_FILE, true, true,
         EStoreShape::Database, 1, FindFirefoxDatabases, IsFirefoxDatabase, IsFirefoxDatabaseInUse,
         MakeFirefoxStore, nullptr},
        {EBrowser::Chromium, CR_BROWSER_NAME, LOCATION_SECTION_CR, CR_PROTECTION_FILE, true, true,
         EStoreShape::Database, 1, FindChromiumDatabases, IsChromiumDatabase,
         IsChromiumDatabaseInUse, MakeChromiumStore, nullptr},
        {EBrowser::Epiphany, EP_BROWSER_NAME, LOCATION_SECTION_EP, EP_PROTECTION_FILE, true, true,
         EStoreShape::Database, 1, FindEpiphanyDatabases, IsEpiphanyDatabase,
         IsEpiphanyDatabaseInUse, MakeEpiphanyStore, nullptr},
    }};
    return s_kinds;
}

const CStoreKind& KindOf(EBrowser browser)
{
    return StoreKinds()[BrowserIndex(browser)];
}

const std::string& BrowserName(EBrowser browser)
{
    static const std::array<std::string, kBrowserCount> s_names = []
    {
        std::array<std::string, kBrowserCount> names;
        for (const CStoreKind& kind : StoreKinds())
            names[BrowserIndex(kind.browser)] = kind.pszBrowserName;
        return names;
    }();
    return s_names[BrowserIndex(browser)];
}

bool BrowserOfName(std::string_view strName, EBrowser& browser)
{
    for (const CStoreKind& kind : StoreKinds())
        if (strName == kind.pszBrowserName)
        {
            browser = kind.browser;
            return true;
        }
    return false;
}
