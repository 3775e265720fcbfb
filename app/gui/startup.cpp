#include "app/gui/startup.h"

#include "app/app_folders.h"
#include "locations/gui/find_location_dlg.h"
#include "locations/location_file.h"
#include "platform/folder_lock.h"
#include "ui/cookie_dlg.h"
#include "ui/display_text.h"
#include "ui/message_box.h"

#include <wx/app.h>

EStartupEnd RunStartupSequence(const std::function<int()>& fnRunFindDialog)
{
    // A folder that cannot be had stays empty; start-up goes on regardless.
    GetAppFolders().InitFolders();

    // Held for the whole run, so that the command-line tool never changes the
    // folder's files while this program keeps them in memory: a command it is
    // running finishes first. A folder that cannot be locked does not stop the start.
    CFolderLock workingFolderLock;
    workingFolderLock.Lock(GetAppFolders().m_strCurrentFolder, CFolderLock::EMode::Shared, true);

    const bool bLocationsValid =
        ValidateLocations(GetAppFolders().GetLocationFilePath(),
                          [](const std::string& strText) {
                              ShowMessageBox(ToDisplayText(strText), wxTheApp->GetAppName(),
                                             wxOK | wxICON_NONE, nullptr);
                          });
    if (!bLocationsValid && fnRunFindDialog() == wxID_CANCEL)
        return EStartupEnd::FindCancelled;

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
