#pragma once

#include <wx/dialog.h>

// The About box: the program's icon, its name and version, and OK.
class CAboutDlg : public wxDialog
{
public:
    explicit CAboutDlg(wxWindow* pParent = nullptr);
};
