#pragma once

#include "locations/location_file.h"

#include <string>
#include <utility>
#include <vector>

// The location lists of the first four browsers, in table order, for the
// location file.
inline CBrowserLocations LocationLists(std::vector<std::string> ie, std::vector<std::string> ns,
                                       std::vector<std::string> ff = {},
                                       std::vector<std::string> cr = {})
{
    CBrowserLocations locations;
    locations[BrowserIndex(EBrowser::InternetExplorer)] = std::move(ie);
    locations[BrowserIndex(EBrowser::Netscape)] = std::move(ns);
    locations[BrowserIndex(EBrowser::Firefox)] = std::move(ff);
    locations[BrowserIndex(EBrowser::Chromium)] = std::move(cr);
    return locations;
}
