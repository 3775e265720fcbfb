#include "ui/cookie_properties_dlg.h"

#include "inventory/cookie_list_model.h"
#include "ui/display_text.h"

#include <wx/button.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace
{
std::string YesNo(bool bYes)
{
    return bYes ? "Yes" : "No";
}

std::string ValueText(const CCookieFacts& facts)
{
    const std::string strBytes =
        std::to_string(facts.nValueBytes) + (facts.nValueBytes == 1 ? " byte" : " bytes");
    return strBytes + (facts.bValueEncrypted ? ", encrypted by the browser" : "") + " (not shown)";
}

wxFlexGridSizer* NewGrid()
{
    auto* pGrid = new wxFlexGridSizer(2, wxSize(12, 4));
    pGrid->AddGrowableCol(1);
    return pGrid;
}
} // namespace

CCookiePropertiesDlg::CCookiePropertiesDlg(wxWindow* pParent, const CCookieDetails& details)
    : wxDialog(pParent, wxID_ANY, "Cookie Properties", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER)
{
    auto* pTop = new wxBoxSizer(wxVERTICAL);
    wxFlexGridSizer* pStore = NewGrid();
    AddLine(this, pStore, "Browser:", details.strBrowser);
    AddLine(this, pStore, "File:", details.strStoreFile);
    if (!details.strProfile.empty())
        AddLine(this, pStore, "Profile:", details.strProfile);
    pTop->Add(pStore, 0, wxEXPAND | wxALL, 10);

    // An Internet Explorer file may hold many cookies: they scroll.
    auto* pCookies = new wxScrolledWindow(this, wxID_ANY);
    auto* pCookieSizer = new wxBoxSizer(wxVERTICAL);
    if (details.cookies.empty())
        pCookieSizer->Add(
            new wxStaticText(pCookies, wxID_ANY, "The cookie is no longer in this file."), 0, wxALL,
            4);
    for (size_t i = 0; i < details.cookies.size(); ++i)
    {
        const CCookieFacts& facts = details.cookies[i];
        const wxString strTitle =
            details.cookies.size() == 1
                ? wxString("Cookie")
                : wxString::Format("Cookie %zu of %zu", i + 1, details.cookies.size());
        auto* pBox = new wxStaticBoxSizer(wxVERTICAL, pCookies, strTitle);
        wxFlexGridSizer* pGrid = NewGrid();
        wxWindow* pBoxWindow = pBox->GetStaticBox();
        AddLine(pBoxWindow, pGrid, "Name:", facts.strName);
        AddLine(pBoxWindow, pGrid, "Host:", facts.strHost);
        AddLine(pBoxWindow, pGrid, "Path:", facts.strPath);
        AddLine(pBoxWindow, pGrid, "Expires:", FormatExpiry(facts));
        AddLine(pBoxWindow, pGrid, "Secure:", YesNo(facts.bSecure));
        AddLine(pBoxWindow, pGrid, "HttpOnly:", YesNo(facts.bHttpOnly));
        AddLine(pBoxWindow, pGrid, "Value:", ValueText(facts));
        pBox->Add(pGrid, 1, wxEXPAND | wxALL, 4);
        pCookieSizer->Add(pBox, 0, wxEXPAND | wxBOTTOM, 6);
    }
    pCookies->SetSizer(pCookieSizer);
    pCookies->SetScrollRate(0, 10);
    const wxSize best = pCookieSizer->GetMinSize();
    pCookies->SetMinSize(wxSize(best.x + 20, std::min(best.y, FromDIP(360))));
    pTop->Add(pCookies, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* pOk = new wxButton(this, wxID_OK, "OK");
    pOk->SetDefault();
    pTop->Add(pOk, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(pTop);
    SetEscapeId(wxID_OK);
    pOk->SetFocus();
    CentreOnParent();
}

void CCookiePropertiesDlg::AddLine(wxWindow* pParent, wxSizer* pGrid, const char* pszLabel,
                                   const std::string& strText)
{
    const wxString strShown = ToDisplayText(ShortenShownText(strText));
    pGrid->Add(new wxStaticText(pParent, wxID_ANY, pszLabel), 0, wxALIGN_TOP);
    // No markup and no mnemonics: the text is the store's. A long one (a
    // file path, a name of a kilobyte) is cut in the middle on screen and
    // shown whole in its tooltip.
    auto* pText = new wxStaticText(pParent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                   wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
    pText->SetLabelText(strShown);
    const wxSize extent = pText->GetTextExtent(strShown.empty() ? wxString(" ") : strShown);
    const int nMaxWidth = FromDIP(480);
    pText->SetMinSize(wxSize(std::min(extent.x, nMaxWidth), extent.y));
    if (extent.x > nMaxWidth)
        pText->SetToolTip(strShown);
    pGrid->Add(pText, 1, wxEXPAND);
    m_lines.emplace_back(pszLabel, strShown);
}
