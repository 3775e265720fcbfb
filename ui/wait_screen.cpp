#include "ui/wait_screen.h"

#include "res/resources.h"
#include "ui/dialog_units.h"

#include <wx/evtloop.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/time.h>
#include <wx/utils.h>

namespace
{
unsigned s_nPauseMs = 1500;
// How long the window system gets to map and draw the new window; there is no
// portable sign that it has finished.
constexpr long PAINT_WAIT_MS = 150;
} // namespace

void CWaitScreen::SetPauseMs(unsigned nMs)
{
    s_nPauseMs = nMs;
}

unsigned CWaitScreen::GetPauseMs()
{
    return s_nPauseMs;
}

CWaitScreen::CWaitScreen(wxWindow* pParent)
    : wxDialog(pParent, wxID_ANY, "Deleting Cookies...", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU)
{
    SetClientSize(DluToPixels(this, 218, 79));

    PlaceInDialogUnits(new wxStaticBox(this, wxID_ANY, wxString()), {0, 0, 218, 77},
                       EDluHeight::Exact);
    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceBitmap(IDB_WAIT),
                                          wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN),
                       {3, 7, 65, 66}, EDluHeight::Exact);

    CreateTemplateText(this, "Please wait while deleting cookies...", {72, 7, 94, 25});

    CentreOnScreen();
    Show();
    SetFocus();
    PaintNow();
    wxMilliSleep(s_nPauseMs);
}

// Lets the window system map and draw the screen while holding back input and
// timers: nothing of the program runs before the pause.
void CWaitScreen::PaintNow()
{
    wxEventLoopGuarantor ensureLoop; // the program may not run a loop yet
    wxEventLoopBase* pLoop = wxEventLoopBase::GetActive();
    const wxLongLong tStart = wxGetLocalTimeMillis();
    while (wxGetLocalTimeMillis() - tStart < PAINT_WAIT_MS)
    {
        pLoop->YieldFor(wxEVT_CATEGORY_UI);
        Update();
        wxMilliSleep(10);
    }
}
