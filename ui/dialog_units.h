#pragma once

#include <wx/gdicmn.h>

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
