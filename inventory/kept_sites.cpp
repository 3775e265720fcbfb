#include "inventory/cookie_inventory.h"

// SITES.DAT is written only when the sites change, so that with no site ever
// kept no such file appears. It is a keep list of every browser: one that
// exists but cannot be read keeps every cookie, is never written over, and its
// sites last read stay in force.
void CCookieInventory::LoadSites()
{
    const std::string strPath = SitesFilePath();
    std::vector<EBrowser> browsers;
    for (size_t i = 0; i < kBrowserCount; ++i)
        browsers.push_back(static_cast<EBrowser>(i));
    std::vector<std::string> lines;
    if (LoadKeepList(strPath, browsers, lines) == EKeepListRead::Unreadable)
        return;
    // Sites that could not be written stay in force over what the file holds.
    if (m_bSitesUnsaved)
        m_bSitesUnsaved = !WriteSitesFile(strPath, m_sites);
    else
        m_sites = SitesFromLines(lines);
}

bool CCookieInventory::SetSites(const CSiteList& sites)
{
    if (SitesUnreadable())
        return false;
    if (!(sites == m_sites) || m_bSitesUnsaved)
    {
        m_sites = sites;
        m_bSitesUnsaved = !WriteSitesFile(SitesFilePath(), m_sites);
    }
    ApplySitesToRows();
    return !m_bSitesUnsaved;
}

void CCookieInventory::ReloadSites()
{
    LoadSites();
    ApplySitesToRows();
}

void CCookieInventory::ApplySitesToRows()
{
    for (int nRow = 0; nRow < m_CookieList.GetItemCount(); ++nRow)
    {
        CCookie* pCookie = m_CookieList.GetItemData(nRow);
        if (!pCookie)
            continue;
        pCookie->m_bKept = m_sites.Covers(pCookie->m_strName) ? 1 : 0;
        // Reading the list again may also have changed whether it is unknown.
        const std::string strState = pCookie->GetState();
        if (m_CookieList.GetRow(nRow).strText[COL_STATE] != strState)
            m_CookieList.SetItemText(nRow, COL_STATE, strState);
    }
}

void CCookieInventory::ApplySites(size_t nFirst)
{
    for (size_t i = nFirst; i < m_Cookies.size(); ++i)
        m_Cookies[i]->m_bKept = m_sites.Covers(m_Cookies[i]->m_strName) ? 1 : 0;
}
