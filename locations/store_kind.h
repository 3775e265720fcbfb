#pragma once

#include "inventory/cookie.h"

#include <string>

// Tells from its content which browser's cookie store a path is: a folder is
// an Internet Explorer cookie folder; an SQLite database with Firefox's or
// Chromium's cookie table is that browser's database; a text file whose first
// 64 KiB hold the Netscape header line or a cookie line of seven fields is a
// Netscape cookie file. Anything else is refused: false, with strWhyNot saying
// why in a few words ("it is not a cookie file or a cookie database").
bool IdentifyCookieStore(const std::string& strPath, EBrowser& browser, std::string& strWhyNot);
