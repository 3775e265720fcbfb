#pragma once

#include <functional>
#include <string>
#include <wx/taskbar.h>

// The main window's icon in the notification area. A press of the left button
// runs the handler it was given; every other click is ignored and no menu pops
// up.
class CTrayIcon : public wxTaskBarIcon
{
public:
    explicit CTrayIcon(std::function<void()> fnLeftDown);

    // Shows the icon with a tip, or only changes the tip; does nothing when the
    // tip is unchanged and the icon is already shown.
    void ShowWithTip(const std::string& strTip);
    void Remove();

    const std::string& GetTip() const { return m_strTip; }

protected:
    wxMenu* CreatePopupMenu() override { return nullptr; }

private:
    std::function<void()> m_fnLeftDown;
    std::string m_strTip;
};
