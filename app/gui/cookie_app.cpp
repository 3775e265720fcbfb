#include "app/gui/cookie_app.h"

#include "app/gui/startup.h"

#include <cstdio>
#include <wx/filename.h>
#include <wx/log.h>

bool CCookieApp::Initialize(int& argc, wxChar** argv)
{
    // Only the program's name is passed on, so that no option of the toolkit's
    // (--display, --sync...) changes what the program does.
    int nOnlyName = argc > 0 ? 1 : 0;
    bool bOpened;
    {
        wxLogNull noToolkitMessages;
        bOpened = wxApp::Initialize(nOnlyName, argv);
    }
    if (!bOpened)
    {
        const wxString strName = argc > 0 ? wxFileName(argv[0]).GetName() : wxString("jarvane");
        fprintf(stderr, "%s: cannot open a display; Jarvane needs a graphical desktop.\n",
                static_cast<const char*>(strName.utf8_str()));
    }
    return bOpened;
}

// The base class's OnInit would parse the command line; the program reads none.
// OnInit itself returns true: false would make wx end the process as failed.
bool CCookieApp::OnInit()
{
    InitInstance();
    return true;
}

bool CCookieApp::InitInstance()
{
    RunStartupSequence(RunSystemFindDialog);
    return false;
}

// InitInstance has run the whole program by now.
int CCookieApp::OnRun()
{
    return 0;
}
