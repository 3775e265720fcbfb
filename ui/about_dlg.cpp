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

    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceIcon(IDR_MAINFRAME)),
                       {7, 5, 18, 20}, EDluHeight::Exact);

    CreateTemplateText(this, "Jarvane  Version 1.0", {38, 5, 119, 8});

    auto* pOk = new wxButton(this, wxID_OK, "OK");
    PlaceInDialogUnits(pOk, {159, 1, 40, 14}, EDluHeight::Exact);
    pOk->SetDefault();
    pOk->SetFocus();
    CentreOnScreen();
}
