#include "ui/about_dlg.h"

#include "res/resources.h"
#include "ui/dialog_units.h"

#include <wx/button.h>
#include <wx/statbmp.h>

CAboutDlg::CAboutDlg(wxWindow* pParent)
    : wxDialog(pParent, wxID_ANY, "About Jarvane", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    SetClientSize(DluToPixels(this, 202, 50));

    const wxRect rcIcon = DluToPixels(this, {7, 5, 18, 20});
    new wxStaticBitmap(this, wxID_ANY, LoadResourceIcon(IDR_MAINFRAME), rcIcon.GetPosition(),
                       rcIcon.GetSize());

    CreateTemplateText(this, "Jarvane  Version 1.0", {38, 5, 119, 8});

    const wxRect rcOk = DluToPixels(this, {159, 1, 40, 14});
    auto* pOk = new wxButton(this, wxID_OK, "OK", rcOk.GetPosition(), rcOk.GetSize());
    pOk->SetDefault();
    pOk->SetFocus();
    CentreOnScreen();
}
