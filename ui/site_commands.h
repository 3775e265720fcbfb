#pragma once

class CCookieDlg;
class wxMenu;

// Context menu commands of the sites to keep.
enum
{
    IDM_KEEP_SITE = 1030,
    IDM_SITES_TO_KEEP = 1031,
};

// Appends a separator, "Keep Site" (enabled as given) and "Sites to Keep...".
void AppendSiteMenuItems(wxMenu& menu, bool bKeepSiteEnabled);
// Routes the two commands to the window's OnKeepSite and OnSitesToKeep.
void BindSiteCommands(CCookieDlg& dlg);
