#pragma once

#include "inventory/cookie.h"

#include <cstddef>
#include <string_view>

// How a protection line names its cookies. For the cookies.txt and database
// stores a line names every cookie whose host equals it ignoring the ASCII case
// of its letters, as the browsers match host names; Internet Explorer names
// hold paths and match exactly. The lists keep the names as they were marked.
inline bool NamesIgnoreCase(EBrowser browser)
{
    return KindOf(browser).bNamesIgnoreCase;
}

bool SameMarkName(EBrowser browser, std::string_view strFirst, std::string_view strSecond);

// Hash and equality of mark names of one browser, for unordered containers.
struct CMarkNameHash
{
    bool bIgnoreCase = false;
    size_t operator()(std::string_view strName) const;
};

struct CMarkNameEqual
{
    bool bIgnoreCase = false;
    bool operator()(std::string_view strFirst, std::string_view strSecond) const;
};
