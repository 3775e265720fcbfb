#include "ui/cookie_context_menu.h"

#include "ui/cookie_dlg.h"

std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled)
{
    auto pMenu = std::make_unique<wxMenu>();
    pMenu->Append(IDC_DELETE, "&Delete");
    pMenu->Append(IDC_PROTECT, "&Change Protection");
    pMenu->Enable(IDC_DELETE, bDeleteEnabled);
    pMenu->Enable(IDC_PROTECT, bProtectEnabled);
    return pMenu;
}

void AppendUndoMenuItem(wxMenu& menu, bool bEnabled)
{
    menu.AppendSeparator();
    menu.Append(IDC_UNDO_DELETION, "&Undo Last Deletion\tCtrl+Z");
    menu.Enable(IDC_UNDO_DELETION, bEnabled);
}
