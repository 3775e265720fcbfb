#include "ui/options_dlg.h"

#include "app/app_folders.h"
#include "res/resources.h"
#include "ui/dialog_units.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace
{
const char* const g_autoDeleteChoices[] = {"Never", "Every 60 Seconds", "Every 30 Minutes",
                                           "Every Hour"};
constexpr int AUTO_DELETE_CHOICES = 4;
} // namespace

COptionsDlg::COptionsDlg(wxWindow* pParent, const CSettings& inForce)
    : wxDialog(pParent, wxID_ANY, "Jarvane Options", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    SetClientSize(DluToPixels(this, 228, 191));
    CreateControls();

    const bool bKnownChoice =
        inForce.m_nAutoDelete >= 0 && inForce.m_nAutoDelete < AUTO_DELETE_CHOICES;
    m_cboAutoDelete->SetSelection(bKnownChoice ? inForce.m_nAutoDelete : 0);
    m_chkSoundEffects->SetValue(inForce.m_bSoundEffects != 0);
    m_chkShowWaitDialog->SetValue(inForce.m_bShowWaitDialog != 0);

    Bind(wxEVT_BUTTON, &COptionsDlg::OnOK, this, wxID_OK);
    CentreOnParent();
}

// Controls are made in the template's order, which is also the tab order.
void COptionsDlg::CreateControls()
{
    auto* pOk = new wxButton(this, wxID_OK, "&OK");
    PlaceInDialogUnits(pOk, {186, 174, 38, 14});
    pOk->SetDefault();
    auto* pCancel = new wxButton(this, wxID_CANCEL, "&Cancel");
    PlaceInDialogUnits(pCancel, {144, 174, 39, 14});

    auto* pFrame = new wxStaticBox(this, wxID_ANY, "Options");
    PlaceInDialogUnits(pFrame, {0, 0, 227, 191}, EDluHeight::Exact);

    m_chkSoundEffects = new wxCheckBox(this, IDC_SOUND_EFFECTS, "&Sound Effects");
    PlaceInDialogUnits(m_chkSoundEffects, {7, 78, 58, 11});

    m_cboAutoDelete = new wxChoice(this, IDC_AUTO_DELETE);
    for (const char* pChoice : g_autoDeleteChoices)
        m_cboAutoDelete->Append(pChoice);
    PlaceInDialogUnits(m_cboAutoDelete, {77, 35, 87, 14});

    CreateTemplateText(this, "Auto Delete Cookies:", {8, 40, 68, 10});

    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceIcon(IDI_OPTIONS)),
                       {5, 13, 18, 20}, EDluHeight::Exact);

    m_chkShowWaitDialog =
        new wxCheckBox(this, IDC_SHOW_WAIT_DIALOG, "&Display wait screen when deleting Cookie");
    PlaceInDialogUnits(m_chkShowWaitDialog, {7, 93, 153, 8});

    CreateTemplateText(this, "Protected cookies will not be deleted.", {7, 52, 120, 7});
}

void COptionsDlg::SaveSettings()
{
    CSettings settings;
    settings.m_bSoundEffects = m_chkSoundEffects->GetValue() ? 1 : 0;
    settings.m_bShowWaitDialog = m_chkShowWaitDialog->GetValue() ? 1 : 0;
    settings.m_nAutoDelete = m_cboAutoDelete->GetSelection();
    // A failed write is not reported: the main window re-reads the file, so the
    // values in force stay whatever the file holds.
    SaveSettingsFile(GetAppFolders().GetSettingsFilePath(), settings);
}

void COptionsDlg::OnOK(wxCommandEvent&)
{
    SaveSettings();
    EndModal(wxID_OK);
}
