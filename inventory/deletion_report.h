#pragma once

#include "inventory/cookie.h"

#include <array>
#include <string>
#include <vector>

// What one deletion batch did with the cookies it was given, per browser.
struct CDeletionReport
{
    struct CCounts
    {
        int nDeleted = 0;    // gone from the disk
        int nInUse = 0;      // left because the browser holds its store
        int nKept = 0;       // left because protected, kept by a site or an unreadable list
        int nNotWritten = 0; // its deletion did not reach the disk
    };
    std::array<CCounts, kBrowserCount> browsers = {};
    // The files that still hold a cookie whose deletion did not reach the
    // disk, each named once, in the order met.
    std::vector<std::string> unwrittenStores;

    const CCounts& Of(EBrowser browser) const { return browsers[BrowserIndex(browser)]; }
    CCounts& Of(EBrowser browser) { return browsers[BrowserIndex(browser)]; }
};
