#include "ui/dlu_placement.h"

#include <algorithm>
#include <wx/stattext.h>

void PlaceInDialogUnits(wxWindow* pControl, const CDluRect& rect)
{
    wxRect pixels = DluToPixels(pControl->GetParent(), rect);
    pixels.height = std::max(pixels.height, pControl->GetBestSize().y);
    pControl->SetSize(pixels);
}

wxStaticText* CreateTemplateText(wxWindow* pDialog, const wxString& strText, const CDluRect& rect,
                                 int nId)
{
    auto* pText = new wxStaticText(pDialog, nId, wxString(), wxDefaultPosition, wxDefaultSize,
                                   wxST_NO_AUTORESIZE);
    pText->SetSize(DluToPixels(pDialog, rect));
    SetTemplateText(pText, strText);
    return pText;
}

void SetTemplateText(wxStaticText* pText, const wxString& strText)
{
    const wxSize size = pText->GetSize();
    pText->SetLabelText(strText);
    pText->Wrap(size.x);
    pText->SetSize(size.x, std::max(size.y, pText->GetBestSize().y));
}
