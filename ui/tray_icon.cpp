#include "ui/tray_icon.h"

#include "res/resources.h"
#include "ui/cookie_dlg.h"
#include "ui/display_text.h"

#include <wx/bmpbndl.h>
#include <wx/menu.h>

#ifdef __WXGTK__
#include <dlfcn.h>

namespace
{
// GObject's signal connection, found in the running toolkit: the GTK headers
// are not needed for this one call.
using PFNCONNECTSIGNAL = unsigned long (*)(void* pInstance, const char* pszSignal,
                                           void (*pfnHandler)(), void* pData,
                                           void (*pfnDestroy)(void*, void*), int nFlags);

PFNCONNECTSIGNAL ConnectSignalFunction()
{
    static const auto s_pfnConnect =
        reinterpret_cast<PFNCONNECTSIGNAL>(dlsym(RTLD_DEFAULT, "g_signal_connect_data"));
    return s_pfnConnect;
}
} // namespace
#endif

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
    : m_fnNotify(std::move(fnNotify)), m_fnMenu(std::move(fnMenu)),
      m_fnCommand(std::move(fnCommand))
{
    const wxEventTypeTag<wxTaskBarIconEvent> messages[] = {
        wxEVT_TASKBAR_LEFT_DOWN, wxEVT_TASKBAR_RIGHT_DOWN, wxEVT_TASKBAR_LEFT_DCLICK,
        wxEVT_TASKBAR_RIGHT_DCLICK};
    for (const auto& message : messages)
        Bind(message,
             [this](wxTaskBarIconEvent& event)
             {
                 m_fnNotify(TRAY_ICON_ID, event.GetEventType());
                 // Left unhandled, a right-click goes on to pop up the menu.
                 if (event.GetEventType() == wxEVT_TASKBAR_RIGHT_DOWN)
                     event.Skip();
             });
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

// wxGTK drops the commands of a menu whose window is not a dialog while any
// modal dialog runs, and the main window always runs modally; the icon's menu
// pops up from wx's own hidden window. So its items' activation is taken from
// the toolkit itself. A command runs once the menu has closed, since it may
// open a dialog or end the program.
wxMenu* CTrayIcon::CreatePopupMenu()
{
    wxMenu* pMenu = m_fnMenu();
    m_itemCommands.clear();
#ifdef __WXGTK__
    const PFNCONNECTSIGNAL pfnConnect = ConnectSignalFunction();
    if (pfnConnect == nullptr)
        return pMenu;
    void (*pfnActivate)(void*, void*) = [](void* pItem, void* pData)
    {
        auto* pIcon = static_cast<CTrayIcon*>(pData);
        const auto it = pIcon->m_itemCommands.find(pItem);
        if (it != pIcon->m_itemCommands.end())
            pIcon->CallAfter([pIcon, nCommand = it->second] { pIcon->m_fnCommand(nCommand); });
    };
    for (wxMenuItem* pItem : pMenu->GetMenuItems())
    {
        if (pItem->IsSeparator())
            continue;
        void* pWidget = pItem->GetMenuItem();
        m_itemCommands[pWidget] = pItem->GetId();
        pfnConnect(pWidget, "activate", reinterpret_cast<void (*)()>(pfnActivate), this, nullptr,
                   0);
    }
#else
    pMenu->Bind(wxEVT_MENU,
                [this](wxCommandEvent& event)
                {
                    const int nCommand = event.GetId();
                    CallAfter([this, nCommand] { m_fnCommand(nCommand); });
                });
#endif
    return pMenu;
}
