#include "ui/sites_dlg.h"

#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CSitesDlg::CSitesDlg(wxWindow* pParent, const CSiteList& sites)
    : wxDialog(pParent, wxID_ANY, "Sites to Keep", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER),
      m_sites(sites)
{
    auto* pText = new wxStaticText(
        this, wxID_ANY,
        "Every cookie of these sites and of their subdomains is kept, in every browser:\n"
        "Delete, Delete All and Auto Delete leave it alone.");
    m_lbSites = new wxListBox(this, IDC_SITE_LIST, wxDefaultPosition, wxSize(-1, 180), 0, nullptr,
                              wxLB_EXTENDED | wxLB_NEEDED_SB);
    m_editSite = new wxTextCtrl(this, IDC_SITE_ENTRY, wxEmptyString, wxDefaultPosition,
                                wxDefaultSize, wxTE_PROCESS_ENTER);
    m_editSite->SetHint("example.com");
    auto* pAdd = new wxButton(this, IDC_SITE_ADD, "&Add");
    auto* pRemove = new wxButton(this, IDC_SITE_REMOVE, "&Remove");

    auto* pEntryRow = new wxBoxSizer(wxHORIZONTAL);
    pEntryRow->Add(m_editSite, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    pEntryRow->Add(pAdd, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    pEntryRow->Add(pRemove, 0, wxALIGN_CENTER_VERTICAL);
    auto* pButtons = new wxStdDialogButtonSizer();
    auto* pOk = new wxButton(this, wxID_OK, "&OK");
    pButtons->AddButton(pOk);
    pButtons->AddButton(new wxButton(this, wxID_CANCEL, "&Cancel"));
    pButtons->Realize();
    auto* pMain = new wxBoxSizer(wxVERTICAL);
    pMain->Add(pText, 0, wxALL, 10);
    pMain->Add(m_lbSites, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
    pMain->Add(pEntryRow, 0, wxEXPAND | wxALL, 10);
    pMain->Add(pButtons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(pMain);
    pOk->SetDefault();

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdd(); }, IDC_SITE_ADD);
    Bind(
        wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnAdd(); }, IDC_SITE_ENTRY);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemove(); }, IDC_SITE_REMOVE);
    ShowSites(std::string());
    m_editSite->SetFocus();
    CentreOnParent();
}

void CSitesDlg::ShowSites(const std::string& strSelect)
{
    m_lbSites->Clear();
    for (const std::string& strSite : m_sites.Sorted())
    {
        const int nItem = m_lbSites->Append(wxString::FromUTF8(strSite));
        if (strSite == strSelect)
            m_lbSites->SetSelection(nItem);
    }
}

void CSitesDlg::OnAdd()
{
    const std::string strEntry = m_editSite->GetValue().utf8_string();
    const std::string strSite = NormaliseSite(strEntry);
    const std::string strRefusal = SiteRefusal(strSite);
    if (!strRefusal.empty())
    {
        ShowMessageBox(wxString::FromUTF8("\"" + strEntry + "\" " + strRefusal + "."),
                       "Sites to Keep", wxOK | wxICON_EXCLAMATION, this);
        m_editSite->SetFocus();
        return;
    }
    m_sites.Add(strSite);
    ShowSites(strSite);
    m_editSite->Clear();
    m_editSite->SetFocus();
}

void CSitesDlg::OnRemove()
{
    wxArrayInt selected;
    m_lbSites->GetSelections(selected);
    for (int nItem : selected)
        m_sites.Remove(m_lbSites->GetString(static_cast<unsigned>(nItem)).utf8_string());
    ShowSites(std::string());
}
