#include "ui/tray_icon.h"

#include "res/resources.h"
#include "ui/cookie_dlg.h"
#include "ui/display_text.h"

#include <wx/bmpbndl.h>
#include <wx/menu.h>

wxMenu* CreateTrayMenu(bool bShowEnabled, bool bDeleteAllEnabled, bool bExitEnabled)
{
    auto* pMenu = new wxMenu;
    pMenu->Append(ID_TRAY_SHOW, "Show Jarvane");
    pMenu->Append(IDC_DELETE_ALL, "Delete All");
    pMenu->AppendSeparator();
    pMenu->Append(IDC_EXIT, "Exit");
    pMenu->Enable(ID_TRAY_SHOW, bShowEnabled);
    pMenu->Enable(IDC_DELETE_ALL, bDeleteAllEnabled);
    pMenu->Enable(IDC_EXIT, bExitEnabled);
    return pMenu;
}

CTrayIcon::CTrayIcon(TrayNotifyHandler fnNotify, MenuFactory fnMenu, CommandHandler fnCommand)
    : m_fnNotify(std::move(fnNotify)), m_fnMenu(std::move(fnMenu))
{
    Bind(wxEVT_MENU, [fnCommand](wxCommandEvent& event) { fnCommand(event.GetId()); });
    const wxEventTypeTag<wxTaskBarIconEvent> messages[] = {
        wxEVT_TASKBAR_LEFT_DOWN, wxEVT_TASKBAR_RIGHT_DOWN, wxEVT_TASKBAR_LEFT_DCLICK,
        wxEVT_TASKBAR_RIGHT_DCLICK};
    for (const auto& message : messages)
        Bind(message,
             [this](wxTaskBarIconEvent& event) { m_fnNotify(TRAY_ICON_ID, event.GetEventType()); });
}

void CTrayIcon::ShowWithTip(const std::string& strTip)
{
    if (IsIconInstalled() && strTip == m_strTip)
        return;
    m_strTip = strTip;
    wxBitmap bitmap;
    bitmap.CopyFromIcon(LoadResourceIcon(IDI_TRAY));
    SetIcon(wxBitmapBundle(bitmap), ToDisplayText(strTip));
}

void CTrayIcon::Remove()
{
    if (IsIconInstalled())
        RemoveIcon();
}
