#pragma once

#include <functional>
#include <string>
#include <wx/taskbar.h>

// The id of the main window's one notification-area icon.
constexpr unsigned TRAY_ICON_ID = 0;

// The main window's icon in the notification area. Its mouse messages (the
// wx event types of the buttons going down and of double-clicks) go to the
// handler it was given, with the icon's id; no menu pops up.
class CTrayIcon : public wxTaskBarIcon
{
public:
    using TrayNotifyHandler = std::function<void(unsigned nIconId, wxEventType nMouseMessage)>;
    explicit CTrayIcon(TrayNotifyHandler fnNotify);

    // Shows the icon with a tip, or only changes the tip; does nothing when the
    // tip is unchanged and the icon is already shown.
    void ShowWithTip(const std::string& strTip);
    void Remove();

    const std::string& GetTip() const { return m_strTip; }

protected:
    wxMenu* CreatePopupMenu() override { return nullptr; }

private:
    TrayNotifyHandler m_fnNotify;
    std::string m_strTip;
};
