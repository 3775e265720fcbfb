#include "inventory/stores/ie_folder/ie_cookie.h"

#include "platform/safe_file.h"

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
