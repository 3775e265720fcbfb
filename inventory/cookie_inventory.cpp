#include "inventory/cookie_inventory.h"

#include "platform/path.h"

#include <string_view>

CCookieInventory::CCookieInventory(std::string strDataFolder)
    : m_strDataFolder(std::move(strDataFolder))
{
}

CCookieInventory::~CCookieInventory()
{
    FreeAllRecords();
}

void CCookieInventory::FreeAllRecords()
{
    m_CookieList.DeleteAllItems();
    for (CCookie* pCookie : m_Cookies)
        delete pCookie;
    m_Cookies.clear();
}

std::string CCookieInventory::DataFilePath(const char* pszName) const
{
    return m_strDataFolder.empty() ? std::string(pszName)
                                   : AppendPathPart(m_strDataFolder, pszName);
}

void CCookieInventory::RefreshCookies()
{
    SaveAndClearCookies();
    ReadIECookies();
    ReadNSCookies();
    FillCookieList();
    SortByColumn(COL_STATE);
}

namespace
{
// The Browser column's text, shared by every row of the browser.
CCellText BrowserText(const CCookie& cookie)
{
    static const std::string s_strIE = IE_BROWSER_NAME;
    static const std::string s_strNS = NS_BROWSER_NAME;
    if (cookie.IsBrowser(s_strIE))
        return CCellText::Shared(s_strIE);
    if (cookie.IsBrowser(s_strNS))
        return CCellText::Shared(s_strNS);
    return cookie.GetBrowser();
}
} // namespace

void CCookieInventory::FillCookieList()
{
    std::vector<CCookieRow> rows(m_Cookies.size());
    for (size_t i = 0; i < m_Cookies.size(); ++i)
    {
        CCookie* pCookie = m_Cookies[i];
        rows[i].strText[COL_COOKIE] = pCookie->m_strName;
        rows[i].strText[COL_STATE] = pCookie->GetState();
        rows[i].strText[COL_BROWSER] = BrowserText(*pCookie);
        rows[i].nImage = pCookie->m_bProtected ? 1 : 0;
        rows[i].pData = pCookie;
    }
    m_CookieList.InsertItems(std::move(rows));
    if (m_CookieList.GetItemCount() > 0)
    {
        m_CookieList.SetItemSelected(0, true);
        m_CookieList.SetFocusedItem(0);
    }
}

// The keys compare as the texts the columns show, byte by byte, without
// copying them.
int CCookieInventory::CompareCookies(std::intptr_t lParam1, std::intptr_t lParam2,
                                     std::intptr_t lParamSort)
{
    const auto* pFirst = reinterpret_cast<const CCookie*>(lParam1);
    const auto* pSecond = reinterpret_cast<const CCookie*>(lParam2);
    bool bFirstGreater = false;
    switch (lParamSort)
    {
    case COL_COOKIE:
        bFirstGreater = pFirst->m_strName > pSecond->m_strName;
        break;
    case COL_STATE: // "Protected" against ""
        bFirstGreater = pFirst->m_bProtected && !pSecond->m_bProtected;
        break;
    case COL_BROWSER:
        bFirstGreater = std::string_view(pFirst->BrowserName()) > pSecond->BrowserName();
        break;
    default:
        return -1;
    }
    return bFirstGreater ? 1 : -1;
}

void CCookieInventory::SortByColumn(int nColumn)
{
    m_CookieList.SortItems(CompareCookies, nColumn);
}

void CCookieInventory::ToggleSelectedProtection()
{
    for (int nRow = m_CookieList.GetNextSelected(-1); nRow != -1;
         nRow = m_CookieList.GetNextSelected(nRow))
    {
        CCookie* pCookie = m_CookieList.GetItemData(nRow);
        if (!pCookie)
            continue;
        pCookie->m_bProtected = pCookie->m_bProtected ? 0 : 1;
        m_CookieList.SetItemImage(nRow, pCookie->m_bProtected ? 1 : 0);
        m_CookieList.SetItemText(nRow, COL_STATE, pCookie->GetState());
        m_CookieList.SetItemSelected(nRow, true);
        m_CookieList.SetFocusedItem(nRow);
    }
}
