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
// mnemonics), wrapped to the rectangle's width.
wxStaticText* CreateTemplateText(wxWindow* pDialog, const wxString& strText, const CDluRect& rect,
                                 int nId = wxID_ANY);
// Replaces the text of a control made by CreateTemplateText, wrapping it again.
void SetTemplateText(wxStaticText* pText, const wxString& strText);
