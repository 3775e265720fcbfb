#pragma once

#include "ui/dialog_units.h"

#include <wx/string.h>

class wxStaticText;
class wxWindow;

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
