#pragma once

#include "locations/location_file.h"

#include <string>

class CCookieInventory;

// Gives each of the inventory's stores its remembered locations.
void LoadInventoryLocations(CCookieInventory& inventory, const std::string& strLocationFile);
