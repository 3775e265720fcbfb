#include "inventory/cookie.h"

#include "platform/safe_file.h"

namespace
{
const std::string& NameAt(size_t nIndex)
{
    static const std::string s_names[kBrowserCount] = {IE_BROWSER_NAME, NS_BROWSER_NAME,
                                                       FF_BROWSER_NAME, CR_BROWSER_NAME};
    return s_names[nIndex];
}
} // namespace

const std::string& BrowserName(EBrowser browser)
{
    return NameAt(BrowserIndex(browser));
}

bool BrowserOfName(std::string_view strName, EBrowser& browser)
{
    for (size_t i = 0; i < kBrowserCount; ++i)
    {
        if (strName == NameAt(i))
        {
            browser = static_cast<EBrowser>(i);
            return true;
        }
    }
    return false;
}

bool CIECookie::Delete()
{
    return DeleteFileAt(m_strPath);
}

CCookieDetails CIECookie::GetDetails() const
{
    CCookieDetails details{GetBrowser(), m_strPath, std::string(), {}};
    ReadIECookieFile(m_strPath, details.cookies);
    return details;
}

CCookieDetails CNSCookie::GetDetails() const
{
    CCookieDetails details{GetBrowser(), m_strFile, std::string(), {}};
    CCookieFacts facts;
    if (ParseNSCookieFacts(m_strLine, facts))
        details.cookies.push_back(std::move(facts));
    return details;
}
