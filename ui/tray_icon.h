#pragma once

#include <functional>
#include <map>
#include <string>
#include <wx/taskbar.h>

// The id of the main window's one notification-area icon.
constexpr unsigned TRAY_ICON_ID = 0;

// Requests to the notification area.
enum
{
    TRAY_ADD,
    TRAY_MODIFY,
    TRAY_DELETE
};

// The commands of the icon's menu that the window has no id for.
constexpr int ID_TRAY_SHOW = 1101;

// The icon's menu: "Show Jarvane", "Delete All" (the window's command
// IDC_DELETE_ALL) and "Exit" (IDC_EXIT), each enabled as given.
wxMenu* CreateTrayMenu(bool bShowEnabled, bool bDeleteAllEnabled, bool bExitEnabled);

// The main window's icon in the notification area. Its mouse messages (the
// wx event types of the buttons going down and of double-clicks) go to the
// handler it was given, with the icon's id. A right-click pops up the menu
// that fnMenu makes, and the command chosen goes to fnCommand.
class CTrayIcon : public wxTaskBarIcon
{
public:
    using TrayNotifyHandler = std::function<void(unsigned nIconId, wxEventType nMouseMessage)>;
    using MenuFactory = std::function<wxMenu*()>;
    using CommandHandler = std::function<void(int nCommand)>;
    CTrayIcon(TrayNotifyHandler fnNotify, MenuFactory fnMenu, CommandHandler fnCommand);

    // Shows the icon with a tip, or only changes the tip; does nothing when the
    // tip is unchanged and the icon is already shown.
    void ShowWithTip(const std::string& strTip);
    void Remove();

    const std::string& GetTip() const { return m_strTip; }

protected:
    // wx pops it up and deletes it afterwards.
    wxMenu* CreatePopupMenu() override;

private:
    TrayNotifyHandler m_fnNotify;
    MenuFactory m_fnMenu;
    CommandHandler m_fnCommand;
    // The items of the menu popped up last, by their toolkit widget.
    std::map<void*, int> m_itemCommands;
    std::string m_strTip;
};
