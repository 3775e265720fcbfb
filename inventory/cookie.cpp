#include "inventory/cookie.h"

const std::string& CCookie::StoreLine() const
{
    static const std::string s_strNone;
    return s_strNone;
}
