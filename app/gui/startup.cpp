#include "app/gui/startup.h"

#include "app/app_folders.h"
#include "app/gui/end_requests.h"
#include "app/gui/folder_wait_dlg.h"
#include "app/gui/window_per_folder.h"
#include "locations/location_file.h"
#include "platform/folder_lock.h"
#include "ui/cookie_dlg.h"
#include "ui/display_text.h"
#include "ui/find_location_dlg.h"
#include "ui/message_box.h"

#include <wx/app.h>

EStartupEnd RunStartupSequence(const std::function<int()>& fnRunFindDialog)
{
    // A folder that cannot be had stays empty; start-up goes on regardless.
    GetAppFolders().InitFolders();

    // Before anything of the folder is read: a window that runs in it already
    // keeps its marks in memory, and two would undo each other's.
    CWindowPerFolder oneWindow(BringProgramToFront);
    if (!oneWindow.TakeFolder(GetAppFolders().m_strCurrentFolder))
        return EStartupEnd::OtherWindowRuns;
    CEndRequests endRequests;

    // Held for the whole run, so that the command-line tool never changes the
    // folder's files while this program keeps them in memory: a command it is
    // running finishes first. A folder that cannot be locked does not stop the start.
    CFolderLock workingFolderLock;
    if (!TakeWorkingFolderLock(workingFolderLock, GetAppFolders().m_strCurrentFolder) ||
        CEndRequests::IsEndRequested())
        return EStartupEnd::EndedWhileStarting;

    const bool bLocationsValid =
        ValidateLocations(GetAppFolders().GetLocationFilePath(),
                          [](const std::string& strText) {
                              ShowMessageBox(ToDisplayText(strText), wxTheApp->GetAppName(),
                                             wxOK | wxICON_NONE, nullptr);
                          });
    if (!bLocationsValid && !CEndRequests::IsEndRequested() && fnRunFindDialog() == wxID_CANCEL)
        return EStartupEnd::FindCancelled;
    if (CEndRequests::IsEndRequested())
        return EStartupEnd::EndedWhileStarting;

    CCookieDlg mainWindow(nullptr);
    wxTheApp->SetTopWindow(&mainWindow);
    mainWindow.ShowModal();
    return EStartupEnd::MainWindowClosed;
}

int RunSystemFindDialog()
{
    CFindLocationDlg dialog(nullptr);
    return dialog.ShowModal();
}
