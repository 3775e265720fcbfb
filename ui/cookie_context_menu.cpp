#include "ui/cookie_context_menu.h"

#include "ui/cookie_dlg.h"
#include "ui/site_commands.h"

std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled,
                                                bool bKeepSiteEnabled, bool bPropertiesEnabled)
{
    auto pMenu = std::make_unique<wxMenu>();
    pMenu->Append(IDC_DELETE, "&Delete");
    pMenu->Append(IDC_PROTECT, "&Change Protection");
    pMenu->Enable(IDC_DELETE, bDeleteEnabled);
    pMenu->Enable(IDC_PROTECT, bProtectEnabled);
    AppendSiteMenuItems(*pMenu, bKeepSiteEnabled);
    pMenu->Append(IDC_PROPERTIES, "&Properties...");
    pMenu->Enable(IDC_PROPERTIES, bPropertiesEnabled);
    return pMenu;
}

// In the one group of additions, after the separator that opens it.
void AppendUndoMenuItem(wxMenu& menu, bool bEnabled)
{
    bool bGroupOpen = false;
    for (const wxMenuItem* pItem : menu.GetMenuItems())
        bGroupOpen = bGroupOpen || pItem->IsSeparator();
    if (!bGroupOpen)
        menu.AppendSeparator();
    menu.Append(IDC_UNDO_DELETION, "&Undo Last Deletion\tCtrl+Z");
    menu.Enable(IDC_UNDO_DELETION, bEnabled);
}
