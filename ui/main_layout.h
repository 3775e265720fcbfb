#pragma once

// The main window's layout after a size change, computed without a window.
// Rectangles of the window and the list are in screen coordinates (the window's
// includes its frame and caption); everything computed is in client measures.

struct CScreenRect
{
    int left, top, right, bottom;
};

// The buttons in the order the layout stacks them, top to bottom.
enum
{
    LAYOUT_DELETE,
    LAYOUT_DELETE_ALL,
    LAYOUT_PROTECT,
    LAYOUT_REFRESH,
    LAYOUT_LOCATIONS,
    LAYOUT_TRAY_ONLY,
    LAYOUT_OPTIONS,
    LAYOUT_HELP,
    LAYOUT_EXIT,
    LAYOUT_BUTTONS
};

struct CMainLayout
{
    int nListWidth, nListHeight; // the list keeps its position
    int nButtonX;
    int nButtonY[LAYOUT_BUTTONS];
};

// cx, cy: the new client size; rcWindow: the window, rcList: the list before it
// changes; nButtonWidth, nButtonHeight: the Delete button's size. The
// fractional steps are truncated toward zero, and a tiny client area gives
// negative sizes that are passed on unchanged.
CMainLayout ComputeMainLayout(int cx, int cy, const CScreenRect& rcWindow,
                              const CScreenRect& rcList, int nButtonWidth, int nButtonHeight);
