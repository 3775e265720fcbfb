#include "ui/cookie_dlg.h"

#include "app/app_folders.h"
#include "app/settings.h"
#include "inventory/control_state.h"
#include "locations/browser_locations.h"
#include "platform/path.h"
#include "res/resources.h"
#include "ui/about_dlg.h"
#include "ui/cookie_list_view.h"
#include "ui/dialog_units.h"
#include "ui/display_text.h"
#include "ui/find_location_dlg.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/options_dlg.h"
#include "ui/other_modal_dialogs.h"
#include "ui/sound_player.h"
#include "ui/tray_icon.h"
#include "ui/wait_screen.h"

#include <algorithm>
#include <iterator>
#include <wx/button.h>
#include <wx/imaglist.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace
{
const char* const DELETE_ALL_QUESTION =
    "Are you sure you want to delete all cookies?\n\nProtected Cookies will not be "
    "deleted.\n(You will need to Unprotect them first if you wish to delete them).";
const char* const LIST_PROBLEM_CAPTION = "Jarvane";

// The sound played after a user's deletion, in the folder the program started in.
std::string SoundFilePath()
{
    return AppendPathPart(GetAppFolders().m_strCurrentFolder, "Sounds" PATH_SEP_STR "Yes.WAV");
}

} // namespace

CCookieDlg::CCookieDlg(wxWindow* pParent)
    : wxDialog(pParent, wxID_ANY, "Jarvane 1.0", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxMINIMIZE_BOX |
                   wxMAXIMIZE_BOX),
      m_Inventory(GetAppFolders().m_strCurrentFolder), m_timer(this, AUTO_DELETE_TIMER_ID),
      m_trayWatch(this, TRAY_WATCH_TIMER_ID)
{
    SetClientSize(DluToPixels(this, 340, 217));
    m_templateClientSize = GetClientSize();
    CreateControls();
    BindEvents();

    SetIcons(LoadResourceIconBundle(IDR_MAINFRAME));
    m_pOtherModals = std::make_unique<COtherModalDialogs>(this);
    m_pTrayIcon = std::make_unique<CTrayIcon>([this](unsigned nIconId, wxEventType nMouseMessage)
                                              { OnTrayNotify(nIconId, nMouseMessage); },
                                              [this] { return CreateTrayMenu(); },
                                              [this](int nCommand) { OnTrayCommand(nCommand); });
    UpdateTrayIcon(TRAY_ADD);

    m_imgState = new wxImageList(16, 16, true, 2);
    m_imgState->Add(LoadResourceBitmap(IDB_COOKIE), *wxWHITE);
    m_imgState->Add(LoadResourceBitmap(IDB_PROTECTED), *wxWHITE);
    m_CookieList->AssignImageList(m_imgState, wxIMAGE_LIST_SMALL);
    CreateColumns();

    LoadInventoryLocations(m_Inventory, GetAppFolders().GetLocationFilePath());
    RefreshCookies();
    ReadSettings();
    FollowNotificationArea();
    m_trayWatch.Start(TRAY_WATCH_MS);
    CentreOnScreen();
}

CCookieDlg::~CCookieDlg()
{
    OnDestroy();
}

void CCookieDlg::EndModal(int nRetCode)
{
    wxDialog::EndModal(nRetCode);
    OnDestroy();
}

void CCookieDlg::OnDestroy()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    m_trayWatch.Stop();
    if (m_nTimerId != 0)
    {
        m_timer.Stop();
        m_nTimerId = 0;
    }
    UpdateTrayIcon(TRAY_DELETE);
    m_Inventory.SaveAndClearCookies();
    m_CookieList->ShowModel();
}

// --- The list and the controls -------------------------------------------

void CCookieDlg::RefreshCookies()
{
    wxBusyCursor wait;
    m_Inventory.RefreshCookies();
    ShowInventory();
}

CDeletionReport CCookieDlg::DeleteAllUnprotected()
{
    const CDeletionReport report = m_Inventory.DeleteAllUnprotected();
    ShowInventory();
    if (m_bTimerBatch)
        ReportUndoRefusal(true);
    return report;
}

// Every operation on the inventory ends here: the list shows the rows again and
// the controls follow.
void CCookieDlg::ShowInventory()
{
    m_CookieList->ShowModel();
    UpdateControls();
}

void CCookieDlg::UpdateControls()
{
    const CControlState state =
        ComputeControlState(m_Inventory.CookieList(), m_btnProtect->GetLabel().utf8_string());
    m_btnDelete->Enable(state.bDeleteEnabled);
    m_btnDeleteAll->Enable(state.bDeleteAllEnabled);
    m_btnProtect->Enable(state.bProtectEnabled);
    m_btnProtect->SetLabel(ToDisplayText(state.strProtectLabel));
    m_staticCount->SetLabelText(ToDisplayText(state.strCount));
    UpdateTrayIcon(TRAY_MODIFY);
}

void CCookieDlg::TakeUserSelection()
{
    // Like the list's change notification: the controls follow a real change.
    if (m_CookieList->TakeUserSelection())
        UpdateControls();
}

// The user's selection events come one per row or one per range; they are taken
// into the inventory's list once, after the burst.
void CCookieDlg::OnItemChanged()
{
    if (m_bUpdatePending)
        return;
    m_bUpdatePending = true;
    CallAfter(
        [this]
        {
            m_bUpdatePending = false;
            TakeUserSelection();
        });
}

void CCookieDlg::OnColumnClick(wxListEvent& event)
{
    TakeUserSelection();
    m_Inventory.SortByColumn(event.GetColumn());
    m_CookieList->ShowModel(); // a sort changes no control
}

// --- Commands ------------------------------------------------------------

void CCookieDlg::OnExit()
{
    EndDialog(wxID_OK);
}

void CCookieDlg::EndAsExit()
{
    if (m_schedule.IsDeletionRunning())
        m_bEndDeferred = true;
    else
        OnExit();
}

void CCookieDlg::EndSessionNow()
{
    if (m_schedule.IsDeletionRunning())
        m_bEndDeferred = true;
    else
        OnDestroy();
}

void CCookieDlg::OnDelete()
{
    TakeUserSelection();
    BeginDeletion();
    wxBusyCursor wait;
    CWaitScreenScope waitScreen(this, m_Settings.m_bShowWaitDialog != 0);
    // The sound and the focus come before the new selection and the rewrite
    // of the Netscape files.
    const CDeletionReport report = m_Inventory.DeleteSelected(
        [this]
        {
            PlayWave(SoundFilePath());
            if (m_Inventory.CookieList().GetItemCount() > 0)
                m_CookieList->SetFocus();
        });
    ShowInventory();
    EndDeletion();
    TellKeptRows(true);
    TellInUse(report);
    ReportUndoRefusal(false);
}

// A batch that could delete nothing because keep lists cannot be read runs
// without the question, the wait screen and the sound, and says why.
void CCookieDlg::OnDeleteAll()
{
    const bool bCanDelete = m_Inventory.UnreadableLists().empty() || m_Inventory.HasDeletableRows();
    if (bCanDelete && ShowMessageBox(DELETE_ALL_QUESTION, "Jarvane Confirmation",
                                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    BeginDeletion();
    CDeletionReport report;
    if (bCanDelete)
    {
        wxBusyCursor wait;
        CWaitScreenScope waitScreen(this, m_Settings.m_bShowWaitDialog != 0);
        report = DeleteAllUnprotected();
        PlayWave(SoundFilePath());
    }
    else
        report = DeleteAllUnprotected();
    EndDeletion();
    TellKeptRows(true);
    TellInUse(report);
    ReportUndoRefusal(false);
}

// One message for every browser whose running kept cookies of the batch.
void CCookieDlg::TellInUse(const CDeletionReport& report)
{
    std::string strText;
    int nBrowsers = 0;
    int nCookies = 0;
    std::string strLastBrowser;
    for (size_t i = 0; i < kBrowserCount; ++i)
    {
        const int nInUse = report.browsers[i].nInUse;
        if (nInUse == 0)
            continue;
        nCookies += nInUse;
        const std::string& strBrowser = BrowserName(static_cast<EBrowser>(i));
        strLastBrowser = strBrowser;
        strText += (nBrowsers++ ? "\n" : "") + std::to_string(nInUse) +
                   (nInUse == 1 ? " cookie of " : " cookies of ") + strBrowser +
                   (nInUse == 1 ? " was" : " were") + " not deleted because " + strBrowser +
                   " is running.";
    }
    if (nBrowsers == 0)
        return;
    strText += std::string(nCookies == 1 ? "\n\nIt" : "\n\nThey") + " can be deleted once " +
               (nBrowsers == 1 ? strLastBrowser + " is" : "these browsers are") + " closed.";
    ShowMessageBox(ToDisplayText(strText), "Jarvane", wxOK | wxICON_INFORMATION, this);
}

void CCookieDlg::TellKeptRows(bool bAlways)
{
    const auto& unreadable = m_Inventory.UnreadableLists();
    for (auto it = m_toldProblems.begin(); it != m_toldProblems.end();)
    {
        const bool bGone = it->rfind("read:", 0) == 0 &&
                           std::none_of(unreadable.begin(), unreadable.end(),
                                        [&](const CCookieInventory::CUnreadableList& list)
                                        { return "read:" + list.strPath == *it; });
        it = bGone ? m_toldProblems.erase(it) : std::next(it);
    }
    for (const auto& list : m_Inventory.ListsThatKeptRows())
    {
        // Marked as told before the box opens: a timer tick meanwhile stays quiet.
        if (!m_toldProblems.insert("read:" + list.strPath).second && !bAlways)
            continue;
        std::string strBrowsers;
        for (EBrowser browser : list.browsers)
            strBrowsers += (strBrowsers.empty() ? "" : ", ") + BrowserName(browser);
        ShowMessageBox(ToDisplayText("The protection list \"" + list.strPath +
                                     "\" cannot be read, so no cookie of " + strBrowsers +
                                     " was deleted.\n\nIts cookies show the State \"Unknown\" "
                                     "until the list can be read again."),
                       LIST_PROBLEM_CAPTION, wxOK | wxICON_WARNING, this);
    }
}

void CCookieDlg::TellUnsavedLists()
{
    const std::vector<std::string> unsaved = m_Inventory.UnsavedProtectionLists();
    for (auto it = m_toldProblems.begin(); it != m_toldProblems.end();)
    {
        const bool bGone = it->rfind("write:", 0) == 0 && std::find(unsaved.begin(), unsaved.end(),
                                                                    it->substr(6)) == unsaved.end();
        it = bGone ? m_toldProblems.erase(it) : std::next(it);
    }
    for (const std::string& strList : unsaved)
        if (m_toldProblems.insert("write:" + strList).second)
            ShowMessageBox(ToDisplayText("The protection list \"" + strList +
                                         "\" could not be written.\n\nYour marks stay in force "
                                         "while Jarvane runs and are written as soon as the list "
                                         "can be written; they are lost if Jarvane ends first."),
                           LIST_PROBLEM_CAPTION, wxOK | wxICON_WARNING, this);
}

void CCookieDlg::OnHelp()
{
    ShowHelpContents(this);
}

void CCookieDlg::OnProtect()
{
    TakeUserSelection();
    m_Inventory.ProtectSelected();
    if (m_Inventory.CookieList().GetSelectedCount() > 0)
        m_CookieList->SetFocus();
    ShowInventory();
    TellUnsavedLists();
}

void CCookieDlg::OnOptions()
{
    COptionsDlg options(this, m_Settings);
    if (options.ShowModal() != wxID_CANCEL)
        ReadSettings();
}

void CCookieDlg::OnLocations()
{
    CFindLocationDlg find(nullptr);
    if (find.ShowModal() != wxID_OK)
        return;
    LoadInventoryLocations(m_Inventory, GetAppFolders().GetLocationFilePath());
    RefreshCookies();
}

void CCookieDlg::OnRefresh()
{
    RefreshCookies();
}

void CCookieDlg::OnSysCommand(unsigned nID)
{
    if ((nID & ~0xFu) == ID_SYS_ABOUT)
    {
        CAboutDlg about(nullptr);
        about.ShowModal();
    }
}

// --- Settings and sound --------------------------------------------------

void CCookieDlg::ReadSettings()
{
    m_Settings = ReadSettingsFile(GetAppFolders().GetSettingsFilePath());
    m_Inventory.SetUndoRecording(ReadUndoKeep(GetAppFolders().GetSettingsFilePath()));
    StartAutoDeleteTimer();
}

void CCookieDlg::PlayWave(const std::string& strPath)
{
    if (m_Settings.m_bSoundEffects)
        PlaySoundFileAsync(strPath);
}
