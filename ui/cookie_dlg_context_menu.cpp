// The cookie list's context menu, and Cookie Properties, which it and a double-click open.
#include "ui/cookie_context_menu.h"
#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"
#include "ui/cookie_properties_dlg.h"

#include <wx/button.h>
#include <wx/menu.h>

void CCookieDlg::OnListRightClick(wxContextMenuEvent& event)
{
    TakeUserSelection();
    wxPoint point = event.GetPosition();
    point = point == wxDefaultPosition ? wxPoint(0, 0) : m_CookieList->ScreenToClient(point);
    const bool bSelected = m_Inventory.CookieList().GetSelectedCount() > 0;
    std::unique_ptr<wxMenu> pMenu = CreateCookieContextMenu(
        m_btnDelete->IsEnabled(), m_btnProtect->IsEnabled(), bSelected, bSelected);
    AppendUndoMenuItem(*pMenu, CanUndoDeletion());
    m_CookieList->PopupMenu(pMenu.get(), point);
}

void CCookieDlg::OnProperties()
{
    TakeUserSelection();
    const CCookieListModel& list = m_Inventory.CookieList();
    const int nFocused = list.GetFocusedItem();
    ShowProperties(nFocused != -1 && list.GetRow(nFocused).bSelected ? nFocused
                                                                     : list.GetNextSelected(-1));
}

void CCookieDlg::ShowProperties(int nItem)
{
    const CCookieListModel& list = m_Inventory.CookieList();
    if (nItem < 0 || nItem >= list.GetItemCount())
        return;
    // The dialog gets a copy: a timer tick while it is open may free the record.
    CCookiePropertiesDlg properties(this, list.GetItemData(nItem)->GetDetails());
    properties.ShowModal();
}
