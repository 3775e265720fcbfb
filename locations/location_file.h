#pragma once

#include <functional>
#include <string>
#include <vector>

#define LOCATION_SECTION_IE "IE"
#define LOCATION_SECTION_NS "NS"
#define LOCATION_SECTION_FF "FF"
#define LOCATION_SECTION_CR "CR"

// Reads one section of the location file: "Location 1", "Location 2"... until
// the first missing or empty key, handing each value to fnAdd in key order.
void ReadLocationSection(const std::string& strFile, const std::string& strSection,
                         const std::function<void(const std::string&)>& fnAdd);

// Empties both lists and fills them from the file's "IE" and "NS" sections.
void LoadLocations(const std::string& strFile, std::vector<std::string>& ieLocations,
                   std::vector<std::string>& nsLocations);

// Empties both lists and fills them from the file's "FF" and "CR" sections.
void LoadDatabaseLocations(const std::string& strFile, std::vector<std::string>& ffLocations,
                           std::vector<std::string>& crLocations);

// Replaces the file with the lists, numbered from 1 in list order, in the
// sections "IE", "NS", "FF" and "CR"; a section whose list is empty is left
// out. False (the old file whole) when it failed.
bool SaveLocations(const std::string& strFile, const std::vector<std::string>& ieLocations,
                   const std::vector<std::string>& nsLocations,
                   const std::vector<std::string>& ffLocations = {},
                   const std::vector<std::string>& crLocations = {});

// The start-up check: FALSE without a message when the file does not exist;
// FALSE after fnShowMessage when "Location 1" of "IE", else of "NS", names a
// path that does not exist; TRUE otherwise.
bool ValidateLocations(const std::string& strFile,
                       const std::function<void(const std::string&)>& fnShowMessage);
