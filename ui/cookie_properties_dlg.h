#pragma once

#include "inventory/cookie_details.h"

#include <wx/dialog.h>

// "Cookie Properties": what a row's store keeps of its cookie or cookies, so
// that rows of one host can be told apart. It shows the details it is given
// and holds no record, so a refresh meanwhile changes nothing in it. The value
// is never shown, only its size.
class CCookiePropertiesDlg : public wxDialog
{
public:
    CCookiePropertiesDlg(wxWindow* pParent, const CCookieDetails& details);

    // The label and text of every line shown, in order (for tests).
    const std::vector<std::pair<wxString, wxString>>& GetLines() const { return m_lines; }

private:
    void AddLine(wxWindow* pParent, wxSizer* pGrid, const char* pszLabel,
                 const std::string& strText);

    std::vector<std::pair<wxString, wxString>> m_lines;
};
