#include "app/gui/folder_wait_dlg.h"

#include "res/resources.h"
#include "ui/dialog_units.h"
#include "ui/display_text.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/utils.h>

namespace
{
constexpr int RETRY_MS = 200;
constexpr int QUIET_WAIT_MS = 1000;
} // namespace

bool TakeWorkingFolderLock(CFolderLock& lock, const std::string& strFolder)
{
    for (int nWaited = 0;; nWaited += RETRY_MS)
    {
        if (lock.Lock(strFolder, CFolderLock::EMode::Shared, false) != CFolderLock::EResult::Busy)
            return true;
        if (nWaited >= QUIET_WAIT_MS)
            break;
        wxMilliSleep(RETRY_MS);
    }
    CFolderWaitDlg wait(lock, strFolder);
    return wait.ShowModal() == wxID_OK;
}

CFolderWaitDlg::CFolderWaitDlg(CFolderLock& lock, const std::string& strFolder)
    : wxDialog(nullptr, wxID_ANY, "Jarvane", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_lock(lock), m_strFolder(strFolder), m_retry(this)
{
    SetIcons(LoadResourceIconBundle(IDR_MAINFRAME));
    SetClientSize(DluToPixels(this, 230, 74));
    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceIcon(IDR_MAINFRAME)),
                       {7, 7, 18, 20}, EDluHeight::Exact);
    CreateTemplateText(this,
                       "jarvane-cli is working in this folder:\n" + ToDisplayText(strFolder) +
                           "\n\nJarvane waits until it has finished, then opens.",
                       {34, 7, 189, 42});
    auto* pGiveUp = new wxButton(this, wxID_CANCEL, "&Give Up");
    PlaceInDialogUnits(pGiveUp, {173, 54, 50, 14}, EDluHeight::Exact);
    pGiveUp->SetFocus();
    CentreOnScreen();

    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { TryLock(); });
    m_retry.Start(RETRY_MS);
}

void CFolderWaitDlg::TryLock()
{
    if (m_lock.Lock(m_strFolder, CFolderLock::EMode::Shared, false) == CFolderLock::EResult::Busy)
        return;
    m_retry.Stop();
    EndModal(wxID_OK);
}
