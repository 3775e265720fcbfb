#pragma once

#include "app/settings.h"

#include <wx/dialog.h>

class wxCheckBox;
class wxChoice;
class wxCommandEvent;

// Control ids of the Options dialog.
enum
{
    IDC_SOUND_EFFECTS = 1018,
    IDC_SHOW_WAIT_DIALOG = 1019,
    IDC_AUTO_DELETE = 1021,
};

// The Options dialog: shows the settings in force and, on OK, writes them to the
// settings file (ending with wxID_OK); Cancel, Escape and the close box write
// nothing (wxID_CANCEL).
class COptionsDlg : public wxDialog
{
public:
    COptionsDlg(wxWindow* pParent, const CSettings& inForce);

    // Writes the three settings as the controls show them.
    void SaveSettings();

    wxCheckBox* m_chkShowWaitDialog = nullptr;
    wxChoice* m_cboAutoDelete = nullptr;
    wxCheckBox* m_chkSoundEffects = nullptr;

private:
    void CreateControls();
    void OnOK(wxCommandEvent& event);
};
