#pragma once

#include "inventory/cookie.h"

#include <array>
#include <string>
#include <vector>

class CCookieInventory;

// Each browser's remembered locations, by BrowserIndex.
using CBrowserLocations = std::array<std::vector<std::string>, kBrowserCount>;

// Reads every browser's section of the location file.
CBrowserLocations LoadBrowserLocations(const std::string& strLocationFile);

// Gives each of the inventory's stores its remembered locations.
void LoadInventoryLocations(CCookieInventory& inventory, const std::string& strLocationFile);
