#include "locations/browser_locations.h"

#include "inventory/cookie_inventory.h"

void LoadInventoryLocations(CCookieInventory& inventory, const std::string& strLocationFile)
{
    CBrowserLocations locations = LoadBrowserLocations(strLocationFile);
    for (const CStoreKind& kind : StoreKinds())
        inventory.SetLocations(kind.browser, std::move(locations[BrowserIndex(kind.browser)]));
}
