#include "inventory/stores/netscape/ns_cookie.h"

CCookieDetails CNSCookie::GetDetails() const
{
    CCookieDetails details{GetBrowser(), m_strFile, std::string(), {}};
    CCookieFacts facts;
    if (ParseNSCookieFacts(m_strLine, facts))
        details.cookies.push_back(std::move(facts));
    return details;
}
