#pragma once

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>

// Resource ids of the program's artwork.
enum
{
    IDR_MAINFRAME = 128, // window icon: 32x32 and 16x16
    IDI_TRAY = 151,      // notification-area icon
    IDI_OPTIONS = 155,   // Options dialog icon, 32x32
    IDB_IE_FOLDER = 140, // 16x16 folder marked with a C
    IDB_NS_FILE = 141,   // 16x16 page marked with a C
    IDB_NS_EMBLEM = 142, // small Netscape emblem (our own mark)
    IDB_IE_EMBLEM = 143, // small Internet Explorer emblem (our own mark)
    IDB_LOGO = 144,      // main window logo, 50x49
    IDB_COOKIE = 148,    // row image: dark-red disc with a white "C"
    IDB_PROTECTED = 149, // row image: green disc with a white "P"
    IDB_WAIT = 163,      // wait screen picture, 94x104
};

// The bitmap of a resource id above; white pixels of the 16x16 images are
// transparent. An unknown id gives an invalid bitmap.
wxBitmap LoadResourceBitmap(int nId);
// An icon resource at one of its sizes (32 or 16).
wxIcon LoadResourceIcon(int nId, int nSize = 32);
// Every size of an icon resource, for a window's icon.
wxIconBundle LoadResourceIconBundle(int nId);
