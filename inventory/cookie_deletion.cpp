#include "inventory/cookie_inventory.h"

#include <cstdint>
#include <vector>

namespace
{
// The records of one deletion batch, each to be taken once: a hash set with
// open addressing in one array, so that a batch over every row costs no
// allocation per record and no sort.
class CRecordSet
{
public:
    explicit CRecordSet(const std::vector<CCookie*>& records)
    {
        size_t nSlots = 16;
        while (nSlots < 2 * records.size())
            nSlots *= 2;
        m_slots.assign(nSlots, nullptr);
        for (CCookie* pCookie : records)
            if (pCookie)
                *Find(pCookie) = pCookie;
    }

    // True when pCookie is in the set and not taken yet; it is then taken.
    bool Take(const CCookie* pCookie)
    {
        CCookie** pSlot = Find(pCookie);
        if (!*pSlot)
            return false;
        *pSlot = Taken();
        return true;
    }

private:
    // A taken slot keeps the probe chains that pass it unbroken.
    static CCookie* Taken() { return reinterpret_cast<CCookie*>(&s_taken); }

    // The slot holding pCookie, or the empty slot where it would go.
    CCookie** Find(const CCookie* pCookie)
    {
        const size_t nMask = m_slots.size() - 1;
        size_t i = static_cast<size_t>((reinterpret_cast<std::uintptr_t>(pCookie) >> 4) *
                                           UINT64_C(0x9E3779B97F4A7C15) >>
                                       20) &
                   nMask;
        while (m_slots[i] && m_slots[i] != pCookie)
            i = (i + 1) & nMask;
        return &m_slots[i];
    }

    static inline char s_taken = 0;
    std::vector<CCookie*> m_slots;
};
} // namespace

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
    std::vector<CCookie*> doomed;
    for (size_t i = 0; i < remove.size(); ++i)
        if (remove[i])
            doomed.push_back(m_CookieList.GetItemData(static_cast<int>(i)));
    m_CookieList.DeleteItems(remove);
    // Like a search from the first slot per record: the first slot holding a
    // doomed record is freed, a record that is not in the inventory is not.
    CRecordSet doomedSet(doomed);
    size_t nKept = 0;
    for (CCookie* pCookie : m_Cookies)
    {
        if (doomedSet.Take(pCookie))
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
