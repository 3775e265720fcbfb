#pragma once

#include <functional>
#include <wx/string.h>

class wxWindow;

// Every message box of the program goes through this function, so that tests
// can answer it in advance. nStyle takes wxMessageBox's flags (wxOK, wxYES_NO,
// wxICON_QUESTION...); the result is wxOK, wxYES, wxNO or wxCANCEL.
int ShowMessageBox(const wxString& strText, const wxString& strCaption, long nStyle,
                   wxWindow* pParent);

// Test seam: while a handler is set, it answers every box instead of the user
// (it may run the event loop meanwhile, as a real box does). nullptr restores
// real boxes.
using MessageBoxHandler =
    std::function<int(const wxString& strText, const wxString& strCaption, long nStyle)>;
void SetMessageBoxHandler(MessageBoxHandler fnHandler);
