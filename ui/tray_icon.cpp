#include "ui/tray_icon.h"

#include "res/resources.h"
#include "ui/display_text.h"

#include <wx/bmpbndl.h>

CTrayIcon::CTrayIcon(TrayNotifyHandler fnNotify) : m_fnNotify(std::move(fnNotify))
{
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
