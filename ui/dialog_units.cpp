#include "ui/dialog_units.h"

#include <algorithm>
#include <wx/stattext.h>
#include <wx/window.h>

wxRect DluToPixels(wxWindow* pDialog, const CDluRect& rect)
{
    const wxPoint pos = pDialog->ConvertDialogToPixels(wxPoint(rect.x, rect.y));
    const wxSize size = pDialog->ConvertDialogToPixels(wxSize(rect.cx, rect.cy));
    return wxRect(pos, size);
}

wxSize DluToPixels(wxWindow* pDialog, int cx, int cy)
{
    return pDialog->ConvertDialogToPixels(wxSize(cx, cy));
}

namespace
{
// A text rectangle at least this tall (in dialog units) holds more than one line.
constexpr int TWO_LINES_DLU = 16;
} // namespace

void PlaceInDialogUnits(wxWindow* pControl, const CDluRect& rect, EDluHeight height)
{
    wxRect pixels = DluToPixels(pControl->GetParent(), rect);
    if (height == EDluHeight::FitText)
        pixels.height = std::max(pixels.height, pControl->GetBestSize().y);
    pControl->SetSize(pixels);
}

wxStaticText* CreateTemplateText(wxWindow* pDialog, const wxString& strText, const CDluRect& rect,
                                 int nId)
{
    auto* pText = new wxStaticText(pDialog, nId, wxString(), wxDefaultPosition, wxDefaultSize,
                                   wxST_NO_AUTORESIZE);
    PlaceInDialogUnits(pText, rect, EDluHeight::Exact);
    if (rect.cy >= TWO_LINES_DLU)
    {
        SetTemplateText(pText, strText);
        return pText;
    }
    // A one-line label is never wrapped: it may run past its rectangle instead.
    pText->SetLabelText(strText);
    // The toolkit wraps labels on its own, so the best size would follow the
    // rectangle: measure the text instead.
    const wxSize needed = pText->GetTextExtent(strText);
    const wxSize size = pText->GetSize();
    pText->SetSize(std::max(size.x, needed.x + 2), std::max(size.y, needed.y));
    return pText;
}

void SetTemplateText(wxStaticText* pText, const wxString& strText)
{
    const wxSize size = pText->GetSize();
    pText->SetLabelText(strText);
    pText->Wrap(size.x);
    pText->SetSize(size.x, std::max(size.y, pText->GetBestSize().y));
}
