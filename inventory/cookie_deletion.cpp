#include "inventory/cookie_inventory.h"

#include <unordered_set>
#include <vector>

bool CCookieInventory::DeleteFromStore(CCookie* pCookie)
{
    if (!pCookie || pCookie->m_bProtected)
        return false;
    if (pCookie->IsBrowser(NS_BROWSER_NAME))
        m_bNSChanged = 1;
    pCookie->Delete(); // a file that cannot be deleted shows again at the next refresh
    return true;
}

void CCookieInventory::DeleteCookie(int nItem)
{
    if (nItem < 0 || nItem >= m_CookieList.GetItemCount())
        return;
    CCookie* pCookie = m_CookieList.GetItemData(nItem);
    if (!pCookie || pCookie->m_bProtected)
        return;
    m_CookieList.DeleteItem(nItem);
    DeleteFromStore(pCookie);
    for (auto it = m_Cookies.begin(); it != m_Cookies.end(); ++it)
    {
        if (*it == pCookie)
        {
            delete pCookie;
            m_Cookies.erase(it);
            return;
        }
    }
}

void CCookieInventory::RemoveRows(const std::vector<bool>& remove)
{
    std::unordered_set<const CCookie*> doomed;
    doomed.reserve(remove.size());
    for (size_t i = 0; i < remove.size(); ++i)
        if (remove[i])
            doomed.insert(m_CookieList.GetItemData(static_cast<int>(i)));
    m_CookieList.DeleteItems(remove);
    // Like a search from the first slot per record: the first slot holding a
    // doomed record is freed, a record that is not in the inventory is not.
    size_t nKept = 0;
    for (CCookie* pCookie : m_Cookies)
    {
        if (doomed.erase(pCookie) != 0)
            delete pCookie;
        else
            m_Cookies[nKept++] = pCookie;
    }
    m_Cookies.resize(nKept);
}

void CCookieInventory::DeleteAllUnprotected()
{
    m_bNSChanged = 0;
    const int nCount = m_CookieList.GetItemCount();
    std::vector<bool> remove(static_cast<size_t>(nCount), false);
    for (int nRow = nCount - 1; nRow >= 0; --nRow)
        remove[static_cast<size_t>(nRow)] = DeleteFromStore(m_CookieList.GetItemData(nRow));
    RemoveRows(remove);
    RewriteNSFiles();
}

// Selected protected rows stay, still selected; the walk visits each selected
// row once, so it always ends.
int CCookieInventory::DeleteSelected()
{
    m_bNSChanged = 0;
    const int nFirst = m_CookieList.GetNextSelected(-1);
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), false);
    for (int nRow = nFirst; nRow != -1; nRow = m_CookieList.GetNextSelected(nRow))
        remove[static_cast<size_t>(nRow)] = DeleteFromStore(m_CookieList.GetItemData(nRow));
    RemoveRows(remove);
    return nFirst;
}

void CCookieInventory::SelectAfterDelete(int nFirst)
{
    const int nCount = m_CookieList.GetItemCount();
    if (nFirst < 0 || nCount == 0)
        return;
    const int nRow = nFirst < nCount ? nFirst : nCount - 1;
    m_CookieList.SetItemSelected(nRow, true);
    m_CookieList.SetFocusedItem(nRow);
}
