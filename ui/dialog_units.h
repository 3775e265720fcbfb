#pragma once

#include <wx/defs.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxStaticText;
class wxWindow;

// A rectangle of a dialog template, in dialog units.
struct CDluRect
{
    int x, y, cx, cy;
};

// Converts a template rectangle to pixels with the dialog's own font metrics
// (horizontal units are a quarter of the average character width, vertical
// units an eighth of the character height).
wxRect DluToPixels(wxWindow* pDialog, const CDluRect& rect);
wxSize DluToPixels(wxWindow* pDialog, int cx, int cy);

// Moves a control to its template rectangle, in dialog units of its parent.
// Text and check controls are made at least as tall as their text needs, since
// the desktop's font may be taller than the template allowed for.
void PlaceInDialogUnits(wxWindow* pControl, const CDluRect& rect);

// A static text at a template rectangle that shows strText exactly (no
// mnemonics): wrapped to the rectangle's width when the rectangle holds several
// lines, else on one line that may run past the rectangle.
wxStaticText* CreateTemplateText(wxWindow* pDialog, const wxString& strText, const CDluRect& rect,
                                 int nId = wxID_ANY);
// Replaces the text of a multi-line control made by CreateTemplateText.
void SetTemplateText(wxStaticText* pText, const wxString& strText);
