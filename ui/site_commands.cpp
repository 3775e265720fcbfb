// The main window's commands on the sites to keep.
#include "ui/site_commands.h"

#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"
#include "ui/message_box.h"
#include "ui/sites_dlg.h"

#include <set>
#include <wx/menu.h>

namespace
{
const char* const SITES_CAPTION = "Jarvane Sites to Keep";

wxString Utf8(const std::string& str)
{
    return wxString::FromUTF8(str);
}

wxString JoinLines(const std::set<std::string>& lines)
{
    wxString strText;
    for (const std::string& strLine : lines)
        strText += "\n" + Utf8(strLine);
    return strText;
}

void TellSitesUnreadable(wxWindow* pParent, const std::string& strPath)
{
    ShowMessageBox(
        Utf8(strPath) +
            " cannot be read, so the sites to keep cannot be changed.\n\nIt lists the sites "
            "whose cookies are kept, so no cookie of any browser is deleted until it can be read "
            "again. Repair or remove it, then Refresh.",
        SITES_CAPTION, wxOK | wxICON_EXCLAMATION, pParent);
}
} // namespace

void AppendSiteMenuItems(wxMenu& menu, bool bKeepSiteEnabled)
{
    menu.AppendSeparator();
    menu.Append(IDM_KEEP_SITE, "Keep Site");
    menu.Append(IDM_SITES_TO_KEEP, "Sites to Keep...");
    menu.Enable(IDM_KEEP_SITE, bKeepSiteEnabled);
}

void BindSiteCommands(CCookieDlg& dlg)
{
    dlg.Bind(
        wxEVT_MENU, [&dlg](wxCommandEvent&) { dlg.OnKeepSite(); }, IDM_KEEP_SITE);
    dlg.Bind(
        wxEVT_MENU, [&dlg](wxCommandEvent&) { dlg.OnSitesToKeep(); }, IDM_SITES_TO_KEEP);
}

// The registrable domain of each selected row's host: one click keeps a site
// with every host it sets cookies on, today's and tomorrow's.
void CCookieDlg::OnKeepSite()
{
    TakeUserSelection();
    m_Inventory.ReloadSites();
    if (m_Inventory.SitesUnreadable())
    {
        ShowInventory();
        TellSitesUnreadable(this, m_Inventory.SitesFilePath());
        return;
    }
    const CCookieListModel& list = m_Inventory.CookieList();
    CSiteList sites = m_Inventory.Sites();
    std::set<std::string> added, already, refused;
    for (int nRow = list.GetNextSelected(-1); nRow != -1; nRow = list.GetNextSelected(nRow))
    {
        const CCookie* pCookie = list.GetItemData(nRow);
        if (!pCookie)
            continue;
        const std::string strSite = RegistrableDomain(CookieHost(pCookie->m_strName));
        const std::string strRefusal = SiteRefusal(strSite);
        if (!strRefusal.empty())
            refused.insert(strSite + " " + strRefusal + ".");
        else if (sites.Add(strSite))
            added.insert(strSite);
        else
            already.insert(strSite);
    }
    if (!added.empty())
        m_Inventory.SetSites(sites);
    ShowInventory();
    wxString strText;
    if (!added.empty())
        strText += "Every cookie of these sites is now kept, in every browser:" + JoinLines(added);
    if (!already.empty())
        strText += wxString(strText.empty() ? "" : "\n\n") + "Kept already:" + JoinLines(already);
    if (!refused.empty())
        strText += wxString(strText.empty() ? "" : "\n\n") + "Not kept:" + JoinLines(refused);
    if (!strText.empty())
        ShowMessageBox(strText, SITES_CAPTION,
                       wxOK | (refused.empty() ? wxICON_INFORMATION : wxICON_EXCLAMATION), this);
    TellUnsavedLists();
}

void CCookieDlg::OnSitesToKeep()
{
    TakeUserSelection();
    m_Inventory.ReloadSites();
    ShowInventory();
    if (m_Inventory.SitesUnreadable())
    {
        TellSitesUnreadable(this, m_Inventory.SitesFilePath());
        return;
    }
    CSitesDlg dlg(this, m_Inventory.Sites());
    if (dlg.ShowModal() != wxID_OK)
        return;
    // A timer tick may have found the list unreadable while the dialog was open.
    m_Inventory.SetSites(dlg.Sites());
    ShowInventory();
    if (m_Inventory.SitesUnreadable())
        TellSitesUnreadable(this, m_Inventory.SitesFilePath());
    else
        TellUnsavedLists();
}
