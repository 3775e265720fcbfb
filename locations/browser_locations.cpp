#include "locations/browser_locations.h"

#include "inventory/cookie_inventory.h"
#include "locations/location_file.h"

CBrowserLocations LoadBrowserLocations(const std::string& strLocationFile)
{
    CBrowserLocations locations;
    LoadLocations(strLocationFile, locations[BrowserIndex(EBrowser::InternetExplorer)],
                  locations[BrowserIndex(EBrowser::Netscape)]);
    LoadDatabaseLocations(strLocationFile, locations[BrowserIndex(EBrowser::Firefox)],
                          locations[BrowserIndex(EBrowser::Chromium)]);
    return locations;
}

void LoadInventoryLocations(CCookieInventory& inventory, const std::string& strLocationFile)
{
    CBrowserLocations locations = LoadBrowserLocations(strLocationFile);
    for (size_t i = 0; i < kBrowserCount; ++i)
        inventory.SetLocations(static_cast<EBrowser>(i), std::move(locations[i]));
}
