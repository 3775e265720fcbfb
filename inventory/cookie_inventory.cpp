#include "inventory/cookie_inventory.h"

#include "inventory/mark_name.h"
#include "inventory/stores/ie_folder/ie_folder_store.h"
#include "inventory/stores/netscape/netscape_store.h"
#include "platform/path.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

CCookieInventory::CCookieInventory(std::string strDataFolder)
    : m_strDataFolder(std::move(strDataFolder))
{
    for (const CStoreKind& kind : StoreKinds())
    {
        const size_t nIndex = BrowserIndex(kind.browser);
        m_storeObjects[nIndex] = kind.fnMakeStore();
        m_stores[nIndex] = m_storeObjects[nIndex].get();
    }
}

CCookieInventory::~CCookieInventory()
{
    FreeAllRecords();
}

void CCookieInventory::FreeAllRecords()
{
    m_CookieList.DeleteAllItems();
    m_Cookies.clear();
}

void CCookieInventory::SetLocations(EBrowser browser, std::vector<std::string> locations)
{
    Store(browser).SetLocations(std::move(locations));
}

const std::vector<std::string>& CCookieInventory::Locations(EBrowser browser) const
{
    return Store(browser).Locations();
}

void CCookieInventory::AppendCookie(std::unique_ptr<CCookie> pCookie)
{
    m_Cookies.push_back(std::move(pCookie));
}

std::string CCookieInventory::DataFilePath(const char* pszName) const
{
    return m_strDataFolder.empty() ? std::string(pszName)
                                   : AppendPathPart(m_strDataFolder, pszName);
}

void CCookieInventory::RefreshCookies()
{
    SaveAndClearCookies();
    // Every list is read anew: one no longer read blocks nothing.
    m_unreadableLists.clear();
    m_bBlocked = {};
    for (CCookieStore* pStore : m_stores)
        ReadStore(*pStore);
    LoadSites();
    FillCookieList();
    SortByColumn(COL_STATE);
}

void CCookieInventory::ReadIECookies()
{
    ReadStore(Store(EBrowser::InternetExplorer));
}

void CCookieInventory::AddIECookie(const std::string& strPath)
{
    CTextFileReader reader;
    CIEFolderStore::AddIECookie(reader, strPath, m_Cookies);
}

void CCookieInventory::ReadNSCookies()
{
    ReadStore(Store(EBrowser::Netscape));
}

void CCookieInventory::AddNSCookie(const std::string& strLine, const std::string& strFile)
{
    CNSFileStore::AddNSCookie(strLine, strFile, m_Cookies);
}

// A store without locations reads nothing, not even its protection list.
void CCookieInventory::ReadStore(CCookieStore& store)
{
    if (store.Locations().empty())
        return;
    store.ReadCookies(m_Cookies);
    LoadProtection(BrowserName(store.Browser()), DataFilePath(store.ProtectionFile()));
}

std::vector<CCookieRow> CCookieInventory::RowsOf(size_t nFirst) const
{
    std::vector<CCookieRow> rows(m_Cookies.size() - nFirst);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        CCookie* pCookie = m_Cookies[nFirst + i].get();
        // A record outlives its rows and keeps its name.
        rows[i].strText[COL_COOKIE] = CCellText::Shared(pCookie->m_strName);
        rows[i].strText[COL_STATE] = pCookie->GetState();
        rows[i].strText[COL_BROWSER] = CCellText::Shared(BrowserName(pCookie->Browser()));
        rows[i].nImage = pCookie->m_bProtected ? 1 : 0;
        rows[i].pData = pCookie;
    }
    return rows;
}

void CCookieInventory::FillCookieList()
{
    ApplySites(0);
    m_CookieList.InsertItems(RowsOf(0));
    if (m_CookieList.GetItemCount() > 0)
    {
        m_CookieList.SetItemSelected(0, true);
        m_CookieList.SetFocusedItem(0);
    }
}

namespace
{
// The order of the State texts: a row whose mark cannot be read stands between
// the rows that may go and the protected ones.
int StateRank(const CCookie& cookie)
{
    return cookie.m_bMarkUnknown ? 2
           : cookie.m_bProtected ? 4
           : cookie.m_bKept      ? 3
           : cookie.IsInUse()    ? 1
                                 : 0;
}
} // namespace

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
    case COL_STATE: // "Protected" above "Kept" above "Unknown" above "In use" above ""
        bFirstGreater = StateRank(*pFirst) > StateRank(*pSecond);
        break;
    case COL_BROWSER:
        bFirstGreater = BrowserName(pFirst->Browser()) > BrowserName(pSecond->Browser());
        break;
    default:
        return -1;
    }
    return bFirstGreater ? 1 : -1;
}

// The State and Browser columns order rows by a number per row, as
// CompareCookies does, without a callback per comparison.
void CCookieInventory::SortByColumn(int nColumn)
{
    if (nColumn != COL_STATE && nColumn != COL_BROWSER)
    {
        m_CookieList.SortItems(CompareCookies, nColumn);
        return;
    }
    int browserRank[kBrowserCount] = {};
    for (size_t i = 0; i < kBrowserCount; ++i)
        for (size_t j = 0; j < kBrowserCount; ++j)
            browserRank[i] += BrowserName(EBrowser(j)) < BrowserName(EBrowser(i));
    std::vector<int> keys(static_cast<size_t>(m_CookieList.GetItemCount()));
    for (size_t i = 0; i < keys.size(); ++i)
    {
        const CCookie* pCookie = m_CookieList.GetItemData(static_cast<int>(i));
        if (!pCookie) // no order to give: leave the rows as they are
            return;
        keys[i] = nColumn == COL_STATE ? StateRank(*pCookie)
                                       : browserRank[BrowserIndex(pCookie->Browser())];
    }
    m_CookieList.SortItemsByKey(keys);
}

// The rows of one name and browser always share one state, the state a refresh
// would give them: the first selected row of a name and browser decides the new
// state of every row with that name and browser, selected or not.
std::array<bool, kBrowserCount> CCookieInventory::ToggleSelectedProtection()
{
    using CNewStates = std::unordered_map<std::string_view, int, CMarkNameHash, CMarkNameEqual>;
    std::vector<CNewStates> newState;
    for (size_t i = 0; i < kBrowserCount; ++i)
    {
        const bool bIgnoreCase = NamesIgnoreCase(static_cast<EBrowser>(i));
        newState.emplace_back(8, CMarkNameHash{bIgnoreCase}, CMarkNameEqual{bIgnoreCase});
    }
    std::array<bool, kBrowserCount> changed = {};
    size_t nNames = 0;
    for (int nRow = m_CookieList.GetNextSelected(-1); nRow != -1;
         nRow = m_CookieList.GetNextSelected(nRow))
        if (const CCookie* pCookie = m_CookieList.GetItemData(nRow))
            nNames += newState[BrowserIndex(pCookie->Browser())]
                          .emplace(pCookie->m_strName, pCookie->m_bProtected ? 0 : 1)
                          .second;
    if (nNames == 0)
        return changed;
    for (int nRow = 0; nRow < m_CookieList.GetItemCount(); ++nRow)
    {
        CCookie* pCookie = m_CookieList.GetItemData(nRow);
        if (!pCookie)
            continue;
        const auto& states = newState[BrowserIndex(pCookie->Browser())];
        const auto it = states.find(pCookie->m_strName);
        if (it == states.end() || it->second == pCookie->m_bProtected)
            continue;
        pCookie->m_bProtected = it->second;
        changed[BrowserIndex(pCookie->Browser())] = true;
        m_CookieList.SetItemImage(nRow, pCookie->m_bProtected ? 1 : 0);
        m_CookieList.SetItemText(nRow, COL_STATE, pCookie->GetState());
    }
    for (int nRow = m_CookieList.GetNextSelected(-1); nRow != -1;
         nRow = m_CookieList.GetNextSelected(nRow))
    {
        m_CookieList.SetItemSelected(nRow, true);
        m_CookieList.SetFocusedItem(nRow);
    }
    return changed;
}

bool CCookieInventory::HasDeletableRows() const
{
    for (int nRow = 0; nRow < m_CookieList.GetItemCount(); ++nRow)
    {
        const CCookie* pCookie = m_CookieList.GetItemData(nRow);
        if (pCookie && !pCookie->IsKept() && !IsBlocked(pCookie->Browser()))
            return true;
    }
    return false;
}

std::vector<CCookieInventory::CUnreadableList> CCookieInventory::ListsThatKeptRows() const
{
    std::vector<CUnreadableList> lists;
    for (const CUnreadableList& list : m_unreadableLists)
        if (std::any_of(list.browsers.begin(), list.browsers.end(),
                        [&](EBrowser browser) { return m_bKeptUnknown[BrowserIndex(browser)]; }))
            lists.push_back(list);
    return lists;
}
