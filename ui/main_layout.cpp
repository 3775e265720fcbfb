#include "ui/main_layout.h"

CMainLayout ComputeMainLayout(int cx, int cy, const CScreenRect& rcWindow,
                              const CScreenRect& rcList, int nButtonWidth, int nButtonHeight)
{
    // Multiples of the button height between the buttons' tops; the gaps set
    // Refresh, Locations and Tray Only apart from their neighbours.
    static const double s_stepFactor[LAYOUT_BUTTONS] = {0, 1, 2, 3.2, 4.4, 5.4, 7, 8, 10.3};

    CMainLayout layout;
    layout.nListWidth = cx + rcWindow.left - rcList.left - (nButtonWidth + 5);
    layout.nListHeight = cy + rcWindow.top - rcList.top + 10;
    layout.nButtonX = cx - (nButtonWidth + 5);
    const int y0 = rcList.top - rcWindow.top - nButtonHeight;
    for (int i = 0; i < LAYOUT_BUTTONS; ++i)
        layout.nButtonY[i] = y0 + static_cast<int>(s_stepFactor[i] * nButtonHeight);
    return layout;
}
