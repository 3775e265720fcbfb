#pragma once

#include "inventory/store_kinds.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// Each browser's remembered locations, by BrowserIndex.
using CBrowserLocations = std::array<std::vector<std::string>, kBrowserCount>;

// Reads one section of the location file: "Location 1", "Location 2"... until
// the first missing or empty key, handing each value to fnAdd in key order.
void ReadLocationSection(const std::string& strFile, const std::string& strSection,
                         const std::function<void(const std::string&)>& fnAdd);

// Empties both lists and fills them from the file's "IE" and "NS" sections.
void LoadLocations(const std::string& strFile, std::vector<std::string>& ieLocations,
                   std::vector<std::string>& nsLocations);

// Reads every browser's section of the location file.
CBrowserLocations LoadBrowserLocations(const std::string& strFile);

// Replaces the file with the lists, numbered from 1 in list order, each in its
// browser's section, in table order; a section whose list is empty is left
// out. False (the old file whole) when it failed.
bool SaveLocations(const std::string& strFile, const CBrowserLocations& locations);

// The start-up check: FALSE without a message when the file does not exist;
// FALSE after fnShowMessage when "Location 1" of a kind that start-up checks
// ("IE", then "NS") names a path that does not exist; TRUE otherwise.
bool ValidateLocations(const std::string& strFile,
                       const std::function<void(const std::string&)>& fnShowMessage);
