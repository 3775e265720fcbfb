#pragma once

#include <string>
#include <string_view>

// The prefix with which curl and others write an HttpOnly cookie's line; what
// follows it is an ordinary cookie line.
#define NS_HTTPONLY_PREFIX "#HttpOnly_"

// The cookie-line rule of a Netscape cookie file: the line is trimmed of white
// space at both ends; an empty line, a "#" comment (other than an HttpOnly
// line) and a line without a tab are not cookie lines. For a cookie line, name
// is the text before its first tab (after the HttpOnly prefix), and kept is the
// line as it is written back: the trimmed line with the tabs that ended it, so
// that an empty last field stays a field. Both are views into strLine.
bool ParseNSCookieLine(const std::string& strLine, std::string_view& name, std::string_view& kept);

// True when the line is the header that other tools require as a cookie file's
// first line: a comment (not an HttpOnly line) holding "# HTTP Cookie File" or
// "# Netscape HTTP Cookie File".
bool IsNSHeaderLine(const std::string& strLine);

// True when the line is neither blank, nor a comment, nor a cookie line: a
// line Jarvane does not understand (fields separated by spaces, say). A
// rewrite keeps such lines as they were read.
bool IsNSOtherLine(const std::string& strLine);
