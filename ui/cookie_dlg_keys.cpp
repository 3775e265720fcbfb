// The main window's keys: the shortcuts, the list's Delete and F5, and Enter
// and Escape, which end the window as there is no default or Cancel button.
#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"

#include <wx/button.h>

bool CCookieDlg::IsFocusInList() const
{
    for (wxWindow* pWindow = FindFocus(); pWindow != nullptr; pWindow = pWindow->GetParent())
        if (pWindow == m_CookieList)
            return true;
    return false;
}

void CCookieDlg::OnCharHook(wxKeyEvent& event)
{
    const int nKey = event.GetKeyCode();
    const bool bPlain = event.GetModifiers() == wxMOD_NONE;
    if (nKey == WXK_F1 && event.GetModifiers() == wxMOD_CONTROL)
        OnSysCommand(ID_SYS_ABOUT);
    else if (nKey == 'Z' && event.GetModifiers() == wxMOD_CONTROL)
        OnUndoLastDeletion();
    else if (IsFocusInList() && OnListKeyDown(nKey))
        return;
    else if (bPlain && (nKey == WXK_RETURN || nKey == WXK_NUMPAD_ENTER) &&
             dynamic_cast<wxButton*>(FindFocus()) == nullptr)
        EndDialog(wxID_OK); // no default button: Enter ends the window like Exit
    else if (bPlain && nKey == WXK_ESCAPE)
        EndDialog(wxID_CANCEL); // there is no Cancel button for wx to press
    else
        event.Skip();
}

bool CCookieDlg::OnListKeyDown(int nKey)
{
    if (nKey == WXK_DELETE || nKey == WXK_NUMPAD_DELETE)
    {
        TakeUserSelection();
        if (m_btnDelete->IsEnabled())
            OnDelete();
        return true;
    }
    if (nKey == WXK_F5)
    {
        RefreshCookies();
        return true;
    }
    return false;
}
