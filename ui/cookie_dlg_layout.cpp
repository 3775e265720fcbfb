// The main window's layout after a size change: the list and the buttons follow
// the new size as ComputeMainLayout places them.
#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"
#include "ui/main_layout.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/statbox.h>

// GTK sends neither OnPaint nor OnQueryDragIcon: it draws and drags a minimised window's icon.

void CCookieDlg::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (m_CookieList == nullptr || !IsShown())
        return;
    const wxSize client = GetClientSize();
    // GTK sends a size event when the window is first shown, at the size it has.
    if (!m_bLaidOut && client == m_templateClientSize)
        return;
    m_bLaidOut = true;
    const wxRect rcWindow = GetScreenRect();
    const wxRect rcList = m_CookieList->GetScreenRect();
    const wxSize button = m_btnDelete->GetSize();
    const CMainLayout layout = ComputeMainLayout(
        client.x, client.y,
        {rcWindow.GetLeft(), rcWindow.GetTop(), rcWindow.GetRight(), rcWindow.GetBottom()},
        {rcList.GetLeft(), rcList.GetTop(), rcList.GetRight(), rcList.GetBottom()}, button.x,
        button.y);

    m_frame->SetSize(0, 0, client.x, client.y);
    // wx takes -1 as "keep the current size", so a collapsed list gets 0.
    m_CookieList->SetSize(std::max(layout.nListWidth, 0), std::max(layout.nListHeight, 0));
    wxButton* const buttons[LAYOUT_BUTTONS] = {m_btnDelete,  m_btnDeleteAll, m_btnProtect,
                                               m_btnRefresh, m_btnLocations, m_btnTrayOnly,
                                               m_btnOptions, m_btnHelp,      m_btnExit};
    for (int i = 0; i < LAYOUT_BUTTONS; ++i)
        buttons[i]->Move(layout.nButtonX, layout.nButtonY[i]);
}
