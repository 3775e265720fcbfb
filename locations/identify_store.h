#pragma once

#include "inventory/cookie.h"

#include <string>

// Tells from its content which browser's cookie store a path is: a folder is
// a store of the Folder kind (Internet Explorer); an SQLite database is that
// of the last Database kind that claims it; a text file whose first 64 KiB
// hold the Netscape header line or a cookie line of seven fields is a store of
// the TextFile kind (Netscape). Anything else is refused: false, with strWhyNot saying
// why in a few words ("it is not a cookie file or a cookie database").
bool IdentifyCookieStore(const std::string& strPath, EBrowser& browser, std::string& strWhyNot);
