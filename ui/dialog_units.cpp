#include "ui/dialog_units.h"

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
