// The main window in the notification area: its icon and menu, Tray Only, and
// following the area as it comes and goes.
#include "inventory/control_state.h"
#include "ui/cookie_dlg.h"
#include "ui/other_modal_dialogs.h"
#include "ui/tray_icon.h"

#include <wx/button.h>
#include <wx/taskbar.h>

namespace
{
const char* const NO_TRAY_TIP = "This desktop has no notification area to keep Jarvane in: "
                                "Tray Only minimizes the window instead.";
} // namespace

bool CCookieDlg::Show(bool bShow)
{
    // wxDialog ends a modal run when its window hides; only EndModal ends this one.
    if (!bShow && IsModal())
        return wxTopLevelWindow::Show(false);
    return wxDialog::Show(bShow);
}

// Adding and modifying do the same on purpose: each shows the icon with the
// current tip whether or not it is shown already, so no update depends on the
// first add having worked.
void CCookieDlg::UpdateTrayIcon(int nRequest)
{
    if (nRequest == TRAY_DELETE)
    {
        m_pTrayIcon->Remove();
        return;
    }
    m_pTrayIcon->ShowWithTip(
        ComputeControlState(m_Inventory.CookieList(), std::string()).strTrayTip);
}

void CCookieDlg::OnTrayOnly()
{
    Iconize(true);
    // Without a notification area nothing could bring a hidden window back.
    if (wxTaskBarIcon::IsAvailable())
    {
        Hide();
        m_bHiddenInTray = true;
    }
    else
        FollowNotificationArea();
}

wxMenu* CCookieDlg::CreateTrayMenu() const
{
    // While another dialog waits for an answer, or a deletion runs, the window
    // can be shown but its commands wait.
    const bool bFree = !m_pOtherModals->Any() && !m_schedule.IsDeletionRunning();
    return ::CreateTrayMenu(true, bFree && m_btnDeleteAll->IsEnabled(), bFree);
}

void CCookieDlg::OnTrayCommand(int nCommand)
{
    if (nCommand == ID_TRAY_SHOW)
        ShowNormally();
    else if (nCommand == IDC_DELETE_ALL && m_btnDeleteAll->IsEnabled())
        OnDeleteAll();
    else if (nCommand == IDC_EXIT)
        OnExit();
}

void CCookieDlg::FollowNotificationArea()
{
    const bool bAvailable = wxTaskBarIcon::IsAvailable();
    if (bAvailable != m_bTrayAvailable)
    {
        m_bTrayAvailable = bAvailable;
        m_btnTrayOnly->SetToolTip(bAvailable ? wxString() : wxString(NO_TRAY_TIP));
    }
    if (!bAvailable && m_bHiddenInTray)
        ShowNormally();
}

void CCookieDlg::OnTrayNotify(unsigned nIconId, wxEventType nMouseMessage)
{
    if (nIconId == TRAY_ICON_ID && nMouseMessage == wxEVT_TASKBAR_LEFT_DOWN)
        ShowNormally();
}

void CCookieDlg::ShowNormally()
{
    // Normal size and position: GTK's Restore() leaves a maximised window
    // maximised. Done before showing, while the window system still takes the
    // states from the program.
    m_bHiddenInTray = false;
    Maximize(false);
    Iconize(false);
    Show();
    Raise();
}
