#include "res/resources.h"

#include "artwork/bmp_cookie.xpm"
#include "artwork/bmp_ie_emblem.xpm"
#include "artwork/bmp_ie_folder.xpm"
#include "artwork/bmp_logo.xpm"
#include "artwork/bmp_ns_emblem.xpm"
#include "artwork/bmp_ns_file.xpm"
#include "artwork/bmp_protected.xpm"
#include "artwork/bmp_wait.xpm"
#include "artwork/icon_app_16.xpm"
#include "artwork/icon_app_32.xpm"
#include "artwork/icon_options_32.xpm"
#include "artwork/icon_tray_16.xpm"
#include "artwork/icon_tray_22.xpm"
#include "artwork/icon_tray_32.xpm"

#include <wx/colour.h>

namespace
{
struct CBitmapResource
{
    int nId;
    const char* const* xpm;
    bool bWhiteIsTransparent;
};

const CBitmapResource g_bitmaps[] = {
    {IDB_IE_FOLDER, bmp_ie_folder_xpm, true}, {IDB_NS_FILE, bmp_ns_file_xpm, true},
    {IDB_NS_EMBLEM, bmp_ns_emblem_xpm, true}, {IDB_IE_EMBLEM, bmp_ie_emblem_xpm, true},
    {IDB_LOGO, bmp_logo_xpm, true},           {IDB_COOKIE, bmp_cookie_xpm, true},
    {IDB_PROTECTED, bmp_protected_xpm, true}, {IDB_WAIT, bmp_wait_xpm, false},
};

struct CIconResource
{
    int nId;
    int nSize;
    const char* const* xpm;
};

// Sizes of one id are listed from the largest down.
const CIconResource g_icons[] = {
    {IDR_MAINFRAME, 32, icon_app_32_xpm}, {IDR_MAINFRAME, 16, icon_app_16_xpm},
    {IDI_TRAY, 32, icon_tray_32_xpm},     {IDI_TRAY, 22, icon_tray_22_xpm},
    {IDI_TRAY, 16, icon_tray_16_xpm},     {IDI_OPTIONS, 32, icon_options_32_xpm},
};
} // namespace

wxBitmap LoadResourceBitmap(int nId)
{
    for (const CBitmapResource& res : g_bitmaps)
    {
        if (res.nId != nId)
            continue;
        wxBitmap bitmap(res.xpm);
        if (res.bWhiteIsTransparent && bitmap.IsOk())
            bitmap.SetMask(new wxMask(bitmap, *wxWHITE));
        return bitmap;
    }
    return wxBitmap();
}

wxIcon LoadResourceIcon(int nId, int nSize)
{
    // The exact size when there is one, else the nearest larger one, else the largest.
    const CIconResource* pBest = nullptr;
    for (const CIconResource& res : g_icons)
    {
        if (res.nId != nId)
            continue;
        if (!pBest || res.nSize >= nSize)
            pBest = &res;
    }
    return pBest ? wxIcon(pBest->xpm) : wxIcon();
}

wxIconBundle LoadResourceIconBundle(int nId)
{
    wxIconBundle bundle;
    for (const CIconResource& res : g_icons)
    {
        if (res.nId == nId)
            bundle.AddIcon(wxIcon(res.xpm));
    }
    return bundle;
}
