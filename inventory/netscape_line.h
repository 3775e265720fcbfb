#pragma once

#include <string>
#include <string_view>

// The cookie-line rule of a Netscape cookie file: the line is trimmed of white
// space at both ends; an empty line, a "#" comment and a line without a tab are
// not cookie lines. For a cookie line, trimmed is the trimmed line and name the
// text before its first tab (both views into strLine).
bool ParseNSCookieLine(const std::string& strLine, std::string_view& name,
                       std::string_view& trimmed);
