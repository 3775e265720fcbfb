#pragma once

#include "inventory/site_list.h"

#include <wx/dialog.h>

class wxListBox;
class wxTextCtrl;

// Control ids of the Sites to Keep dialog.
enum
{
    IDC_SITE_LIST = 1040,
    IDC_SITE_ENTRY = 1041,
    IDC_SITE_ADD = 1042,
    IDC_SITE_REMOVE = 1043,
};

// The Sites to Keep dialog: the sites listed, an entry field, Add and Remove.
// It changes only its own copy of the sites; OK ends with wxID_OK and the
// caller takes Sites(), Cancel (wxID_CANCEL) leaves them as they were.
class CSitesDlg : public wxDialog
{
public:
    CSitesDlg(wxWindow* pParent, const CSiteList& sites);

    const CSiteList& Sites() const { return m_sites; }

    // Adds the entry field's site; a refused entry is explained in a message box.
    void OnAdd();
    // Removes the sites selected in the list.
    void OnRemove();

    wxListBox* m_lbSites = nullptr;
    wxTextCtrl* m_editSite = nullptr;

private:
    void ShowSites(const std::string& strSelect);

    CSiteList m_sites;
};
