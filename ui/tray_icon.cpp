#include "ui/tray_icon.h"

#include "res/resources.h"
#include "ui/display_text.h"

#include <wx/bmpbndl.h>

CTrayIcon::CTrayIcon(std::function<void()> fnLeftDown) : m_fnLeftDown(std::move(fnLeftDown))
{
    Bind(wxEVT_TASKBAR_LEFT_DOWN, [this](wxTaskBarIconEvent&) { m_fnLeftDown(); });
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
