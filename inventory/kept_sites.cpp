#include "inventory/cookie_inventory.h"

// SITES.DAT is written only when the sites change, so that with no site ever
// kept no such file appears. One that exists but cannot be read is left as it
// is and keeps the sites last read from it: its sites could cover any cookie of
// any browser, so nothing is deleted until it reads again.
void CCookieInventory::LoadSites()
{
    const std::string strPath = SitesFilePath();
    if (m_bSitesUnsaved && !m_bSitesUnreadable)
    {
        m_bSitesUnsaved = !WriteSitesFile(strPath, m_sites);
        return;
    }
    CSiteList sites;
    const ESitesRead result = ReadSitesFile(strPath, sites);
    m_bSitesUnreadable = result == ESitesRead::Unreadable;
    if (!m_bSitesUnreadable)
    {
        m_sites = sites;
        m_bSitesUnsaved = false;
    }
}

bool CCookieInventory::SetSites(const CSiteList& sites)
{
    if (m_bSitesUnreadable)
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
        const int bKept = m_sites.Covers(pCookie->m_strName) ? 1 : 0;
        if (bKept != pCookie->m_bKept)
        {
            pCookie->m_bKept = bKept;
            m_CookieList.SetItemText(nRow, COL_STATE, pCookie->GetState());
        }
    }
}

void CCookieInventory::ApplySites(size_t nFirst)
{
    for (size_t i = nFirst; i < m_Cookies.size(); ++i)
        m_Cookies[i]->m_bKept = m_sites.Covers(m_Cookies[i]->m_strName) ? 1 : 0;
}
