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
    pMenu->AppendSeparator();
    pMenu->Append(IDC_PROPERTIES, "&Properties...");
    pMenu->Enable(IDC_PROPERTIES, bPropertiesEnabled);
    return pMenu;
}
