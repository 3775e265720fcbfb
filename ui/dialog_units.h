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

// Converts a template rectangle (or a dialog's client size) to pixels with the dialog's own font
// metrics (horizontal units are a quarter of the average character width, vertical units an eighth
// of the character height).
wxRect DluToPixels(wxWindow* pDialog, const CDluRect& rect);
wxSize DluToPixels(wxWindow* pDialog, int cx, int cy);

// How a control's height meets its template rectangle.
enum class EDluHeight
{
    // At least as tall as the control's text needs, since the desktop's font
    // may be taller than the template allowed for (texts, check boxes, choices,
    // the buttons of the smaller dialogs).
    FitText,
    // Exactly the rectangle (frames, pictures, lists, and the main window's
    // buttons, whose height spaces its button column).
    Exact,
};

// Places a control at its template rectangle, in dialog units of its parent:
// the one way every dialog positions and sizes its controls.
void PlaceInDialogUnits(wxWindow* pControl, const CDluRect& rect,
                        EDluHeight height = EDluHeight::FitText);

// A static text at a template rectangle that shows strText exactly (no
// mnemonics): wrapped to the rectangle's width when the rectangle holds several
// lines, else on one line that may run past the rectangle.
wxStaticText* CreateTemplateText(wxWindow* pDialog, const wxString& strText, const CDluRect& rect,
                                 int nId = wxID_ANY);
// Replaces the text of a multi-line control made by CreateTemplateText.
void SetTemplateText(wxStaticText* pText, const wxString& strText);
