#include "ui/cookie_dlg.h"

#include "app/app_folders.h"
#include "app/settings.h"
#include "inventory/control_state.h"
#include "locations/browser_locations.h"
#include "locations/gui/find_location_dlg.h"
#include "platform/path.h"
#include "res/resources.h"
#include "ui/about_dlg.h"
#include "ui/cookie_context_menu.h"
#include "ui/cookie_list_view.h"
#include "ui/cookie_properties_dlg.h"
#include "ui/dialog_units.h"
#include "ui/display_text.h"
#include "ui/help.h"
#include "ui/main_layout.h"
#include "ui/message_box.h"
#include "ui/options_dlg.h"
#include "ui/site_commands.h"
#include "ui/sound_player.h"
#include "ui/tray_icon.h"
#include "ui/wait_screen.h"

#include <algorithm>
#include <iterator>
#include <wx/button.h>
#include <wx/generic/statbmpg.h>
#include <wx/imaglist.h>
#include <wx/modalhook.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/taskbar.h>
#include <wx/utils.h>

namespace
{
// Requests to the notification area.
enum
{
    TRAY_ADD,
    TRAY_MODIFY,
    TRAY_DELETE
};

const char* const DELETE_ALL_QUESTION =
    "Are you sure you want to delete all cookies?\n\nProtected Cookies will not be "
    "deleted.\n(You will need to Unprotect them first if you wish to delete them).";
const char* const LIST_PROBLEM_CAPTION = "Jarvane";
const char* const ABOUT_MENU_TEXT = "&About Jarvane..."; // string 101
// Window managers keep Alt+Space for their own window menu; Ctrl+F1 is free.
const char* const ABOUT_SHORTCUT = "Ctrl+F1";
const char* const NO_TRAY_TIP = "This desktop has no notification area to keep Jarvane in: "
                                "Tray Only minimizes the window instead.";

unsigned s_nIntervalOverrideMs = 0;

// The sound played after a user's deletion, in the folder the program started in.
std::string SoundFilePath()
{
    return AppendPathPart(GetAppFolders().m_strCurrentFolder, "Sounds" PATH_SEP_STR "Yes.WAV");
}

// The wait screen of a deletion: it lives while the command runs.
class CWaitScreenScope
{
public:
    CWaitScreenScope(wxWindow* pParent, bool bShow)
        : m_pScreen(bShow ? new CWaitScreen(pParent) : nullptr)
    {
    }
    ~CWaitScreenScope()
    {
        if (m_pScreen)
        {
            m_pScreen->Hide();
            m_pScreen->Destroy();
        }
    }
    CWaitScreenScope(const CWaitScreenScope&) = delete;
    CWaitScreenScope& operator=(const CWaitScreenScope&) = delete;

private:
    CWaitScreen* m_pScreen;
};

} // namespace

// Counts every modal dialog but the main window while it runs: message boxes,
// the Options, Find, About and Properties dialogs, help.
class COtherModalDialogs : public wxModalDialogHook
{
public:
    explicit COtherModalDialogs(wxDialog* pMain) : m_pMain(pMain) { Register(); }
    ~COtherModalDialogs() override { Unregister(); }
    bool Any() const { return m_nOpen > 0; }

protected:
    int Enter(wxDialog* pDialog) override
    {
        if (pDialog != m_pMain)
            ++m_nOpen;
        return wxID_NONE;
    }
    void Exit(wxDialog* pDialog) override
    {
        if (pDialog != m_pMain && m_nOpen > 0)
            --m_nOpen;
    }

private:
    wxDialog* m_pMain;
    int m_nOpen = 0;
};

void CCookieDlg::SetAutoDeleteIntervalOverride(unsigned nMs)
{
    s_nIntervalOverrideMs = nMs;
}

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

void CCookieDlg::CreateControls()
{
    auto button = [this](int nId, const char* pszText, const CDluRect& rect)
    {
        auto* pButton = new wxButton(this, nId, pszText);
        PlaceInDialogUnits(pButton, rect, EDluHeight::Exact);
        return pButton;
    };

    // Created in tab order.
    m_btnExit = button(IDC_EXIT, "E&xit", {290, 196, 44, 14});

    // The logo stands where Windows puts the window menu's icon, so it opens
    // the About box (the window menu itself belongs to the window manager).
    m_pLogo = new wxGenericStaticBitmap(this, wxID_ANY, LoadResourceBitmap(IDB_LOGO));
    PlaceInDialogUnits(m_pLogo, {5, 7, 33, 30}, EDluHeight::Exact);
    m_pLogo->SetToolTip(wxStripMenuCodes(ABOUT_MENU_TEXT) + " (" + ABOUT_SHORTCUT + ")");
    m_pLogo->SetCursor(wxCursor(wxCURSOR_HAND));

    CreateTemplateText(this, "Jarvane.", {46, 9, 119, 8});
    CreateTemplateText(this, "Cleanup your Cookies the easy way.", {46, 20, 119, 8});
    PlaceInDialogUnits(new wxStaticLine(this, wxID_ANY), {46, 31, 114, 1}, EDluHeight::Exact);

    m_CookieList = new CCookieListView(this, IDC_COOKIE_LIST, wxDefaultPosition, wxDefaultSize,
                                       m_Inventory.CookieList());
    PlaceInDialogUnits(m_CookieList, {6, 49, 282, 162}, EDluHeight::Exact);

    CreateTemplateText(this, "Cookies:", {7, 40, 28, 8});
    m_btnDelete = button(IDC_DELETE, "&Delete", {290, 49, 44, 14});
    m_btnDeleteAll = button(IDC_DELETE_ALL, "Delete &All", {290, 64, 44, 14});
    m_btnHelp = button(IDC_HELP, "&Help", {290, 164, 44, 14});
    m_btnProtect = button(IDC_PROTECT, "&Protect", {290, 78, 44, 14});
    m_btnOptions = button(IDC_OPTIONS, "&Options", {290, 145, 44, 14});
    m_btnTrayOnly = button(IDC_TRAY_ONLY, "&Tray Only", {290, 124, 44, 14});
    m_btnLocations = button(IDC_LOCATIONS, "&Locations", {290, 110, 44, 14});
    m_staticCount = CreateTemplateText(this, "0", {37, 40, 28, 8}, IDC_COUNT);
    m_btnRefresh = button(IDC_REFRESH, "Re&fresh", {290, 94, 44, 14});
    // The frame around everything comes last: GTK looks for a tooltip in the
    // first child at the pointer, and the frame would hide every later one's.
    m_frame = new wxStaticBox(this, IDC_FRAME, wxString());
    PlaceInDialogUnits(m_frame, {1, 0, 337, 217}, EDluHeight::Exact);
}

void CCookieDlg::CreateColumns()
{
    const int nWidth = m_CookieList->GetClientSize().x;
    m_CookieList->AppendColumn("Cookie", wxLIST_FORMAT_LEFT, static_cast<int>(nWidth * 0.45));
    m_CookieList->AppendColumn("State", wxLIST_FORMAT_LEFT, static_cast<int>(nWidth * 0.2));
    m_CookieList->AppendColumn("Browser", wxLIST_FORMAT_LEFT, static_cast<int>(nWidth * 0.3));
}

void CCookieDlg::BindEvents()
{
    const std::pair<int, void (CCookieDlg::*)()> commands[] = {
        {IDC_EXIT, &CCookieDlg::OnExit},
        {IDC_DELETE, &CCookieDlg::OnDelete},
        {IDC_DELETE_ALL, &CCookieDlg::OnDeleteAll},
        {IDC_HELP, &CCookieDlg::OnHelp},
        {IDC_PROTECT, &CCookieDlg::OnProtect},
        {IDC_OPTIONS, &CCookieDlg::OnOptions},
        {IDC_TRAY_ONLY, &CCookieDlg::OnTrayOnly},
        {IDC_LOCATIONS, &CCookieDlg::OnLocations},
        {IDC_REFRESH, &CCookieDlg::OnRefresh},
    };
    for (const auto& command : commands)
    {
        auto pfnHandler = command.second;
        Bind(
            wxEVT_BUTTON, [this, pfnHandler](wxCommandEvent&) { (this->*pfnHandler)(); },
            command.first);
    }
    // The context menu's commands.
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnDelete(); }, IDC_DELETE);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnProtect(); }, IDC_PROTECT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnUndoLastDeletion(); }, IDC_UNDO_DELETION);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnProperties(); }, IDC_PROPERTIES);
    m_CookieList->Bind(wxEVT_LIST_ITEM_ACTIVATED,
                       [this](wxListEvent& event) { ShowProperties(event.GetIndex()); });
    BindSiteCommands(*this);

    Bind(wxEVT_SIZE, &CCookieDlg::OnSize, this);
    Bind(wxEVT_CHAR_HOOK, &CCookieDlg::OnCharHook, this);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { AutoDeleteTimerProc(); }, AUTO_DELETE_TIMER_ID);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { FollowNotificationArea(); }, TRAY_WATCH_TIMER_ID);
    m_CookieList->SetUserSelectionHandler([this] { OnItemChanged(); });
    m_CookieList->Bind(wxEVT_LIST_COL_CLICK, &CCookieDlg::OnColumnClick, this);
    m_CookieList->Bind(wxEVT_CONTEXT_MENU, &CCookieDlg::OnListRightClick, this);
    m_pLogo->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) { OnSysCommand(ID_SYS_ABOUT); });
}

void CCookieDlg::EndModal(int nRetCode)
{
    wxDialog::EndModal(nRetCode);
    OnDestroy();
}

bool CCookieDlg::Show(bool bShow)
{
    // wxDialog ends a modal run when its window hides; only EndModal ends this one.
    if (!bShow && IsModal())
        return wxTopLevelWindow::Show(false);
    return wxDialog::Show(bShow);
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

// Adding and modifying do the same on purpose: each shows the icon with the
// current tip whether or not it is shown already, so no update depends on the
// first add having worked.
void CCookieDlg::UpdateTrayIcon(int nRequest)
{
    if (nRequest == TRAY_DELETE)
    {
        m_pTrayIcon->Remove();
        return;
    }
    m_pTrayIcon->ShowWithTip(
        ComputeControlState(m_Inventory.CookieList(), std::string()).strTrayTip);
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
    if (m_bDeleting)
        m_bEndDeferred = true;
    else
        OnExit();
}

void CCookieDlg::EndSessionNow()
{
    if (m_bDeleting)
        m_bEndDeferred = true;
    else
        OnDestroy();
}

void CCookieDlg::OnDelete()
{
    TakeUserSelection();
    BeginDeletion();
    wxBusyCursor wait;
    CWaitScreenScope waitScreen(this, m_bShowWaitDialog != 0);
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
        CWaitScreenScope waitScreen(this, m_bShowWaitDialog != 0);
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

// Painting the wait screen lets the window system run, and with it the timer;
// a tick that falls due meanwhile runs once the deletion has finished.
void CCookieDlg::BeginDeletion()
{
    m_bDeleting = true;
}

void CCookieDlg::EndDeletion()
{
    m_bDeleting = false;
    if (m_bEndDeferred)
    {
        CallAfter(&CCookieDlg::OnExit);
        return;
    }
    if (!m_bTickDeferred)
        return;
    m_bTickDeferred = false;
    CallAfter(
        [this]
        {
            if (m_nTimerId != 0)
                AutoDeleteTimerProc();
        });
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
    CSettings inForce;
    inForce.m_bSoundEffects = m_bSoundEffects;
    inForce.m_bShowWaitDialog = m_bShowWaitDialog;
    inForce.m_nAutoDelete = m_nAutoDelete;
    COptionsDlg options(this, inForce);
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

void CCookieDlg::OnTrayOnly()
{
    Iconize(true);
    // Without a notification area nothing could bring a hidden window back.
    if (wxTaskBarIcon::IsAvailable())
    {
        Hide();
        m_bHiddenInTray = true;
    }
    else
        FollowNotificationArea();
}

void CCookieDlg::OnProperties()
{
    TakeUserSelection();
    const CCookieListModel& list = m_Inventory.CookieList();
    const int nFocused = list.GetFocusedItem();
    ShowProperties(nFocused != -1 && list.GetRow(nFocused).bSelected ? nFocused
                                                                     : list.GetNextSelected(-1));
}

void CCookieDlg::ShowProperties(int nItem)
{
    const CCookieListModel& list = m_Inventory.CookieList();
    if (nItem < 0 || nItem >= list.GetItemCount())
        return;
    // The dialog gets a copy: a timer tick while it is open may free the record.
    CCookiePropertiesDlg properties(this, list.GetItemData(nItem)->GetDetails());
    properties.ShowModal();
}

wxMenu* CCookieDlg::CreateTrayMenu() const
{
    // While another dialog waits for an answer, or a deletion runs, the window
    // can be shown but its commands wait.
    const bool bFree = !m_pOtherModals->Any() && !m_bDeleting;
    return ::CreateTrayMenu(true, bFree && m_btnDeleteAll->IsEnabled(), bFree);
}

void CCookieDlg::OnTrayCommand(int nCommand)
{
    if (nCommand == ID_TRAY_SHOW)
        ShowNormally();
    else if (nCommand == IDC_DELETE_ALL && m_btnDeleteAll->IsEnabled())
        OnDeleteAll();
    else if (nCommand == IDC_EXIT)
        OnExit();
}

void CCookieDlg::FollowNotificationArea()
{
    const bool bAvailable = wxTaskBarIcon::IsAvailable();
    if (bAvailable != m_bTrayAvailable)
    {
        m_bTrayAvailable = bAvailable;
        m_btnTrayOnly->SetToolTip(bAvailable ? wxString() : wxString(NO_TRAY_TIP));
    }
    if (!bAvailable && m_bHiddenInTray)
        ShowNormally();
}

void CCookieDlg::OnTrayNotify(unsigned nIconId, wxEventType nMouseMessage)
{
    if (nIconId == TRAY_ICON_ID && nMouseMessage == wxEVT_TASKBAR_LEFT_DOWN)
        ShowNormally();
}

void CCookieDlg::ShowNormally()
{
    // Normal size and position: GTK's Restore() leaves a maximised window
    // maximised. Done before showing, while the window system still takes the
    // states from the program.
    m_bHiddenInTray = false;
    Maximize(false);
    Iconize(false);
    Show();
    Raise();
}

void CCookieDlg::OnSysCommand(unsigned nID)
{
    if ((nID & ~0xFu) == ID_SYS_ABOUT)
    {
        CAboutDlg about(nullptr);
        about.ShowModal();
    }
}

// --- Settings, timer and sound ---------------------------------------------

void CCookieDlg::ReadSettings()
{
    const CSettings settings = ReadSettingsFile(GetAppFolders().GetSettingsFilePath());
    m_Inventory.SetUndoRecording(ReadUndoKeep(GetAppFolders().GetSettingsFilePath()));
    m_bSoundEffects = settings.m_bSoundEffects;
    m_bShowWaitDialog = settings.m_bShowWaitDialog;
    m_nAutoDelete = settings.m_nAutoDelete;
    if (m_nTimerId != 0)
    {
        m_timer.Stop();
        m_nTimerId = 0;
    }
    unsigned nInterval = AutoDeleteIntervalMs(m_nAutoDelete);
    if (nInterval != 0 && s_nIntervalOverrideMs != 0)
        nInterval = s_nIntervalOverrideMs;
    if (nInterval != 0 && m_timer.Start(static_cast<int>(nInterval)))
        m_nTimerId = AUTO_DELETE_TIMER_ID;
}

void CCookieDlg::AutoDeleteTimerProc()
{
    if (m_bDeleting)
    {
        m_bTickDeferred = true;
        return;
    }
    RefreshCookies();
    m_Inventory.SetDeletionSource(EUndoHow::Timer);
    m_bTimerBatch = true;
    DeleteAllUnprotected();
    m_bTimerBatch = false;
    m_Inventory.SetDeletionSource(EUndoHow::Window);
    TellKeptRows(false);
}

void CCookieDlg::PlayWave(const std::string& strPath)
{
    if (m_bSoundEffects)
        PlaySoundFileAsync(strPath);
}

// --- Layout and keys -----------------------------------------------------

// GTK draws a minimised window's icon itself and asks for no icon to drag, so
// the window has no paint handler for the minimised state and none for the
// drag icon.

void CCookieDlg::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (m_CookieList == nullptr || !IsShown())
        return;
    const wxSize client = GetClientSize();
    // GTK sends a size event when the window is first shown, at the size it has.
    if (!m_bLaidOut && client == m_templateClientSize)
        return;
    m_bLaidOut = true;
    const wxRect rcWindow = GetScreenRect();
    const wxRect rcList = m_CookieList->GetScreenRect();
    const wxSize button = m_btnDelete->GetSize();
    const CMainLayout layout = ComputeMainLayout(
        client.x, client.y,
        {rcWindow.GetLeft(), rcWindow.GetTop(), rcWindow.GetRight(), rcWindow.GetBottom()},
        {rcList.GetLeft(), rcList.GetTop(), rcList.GetRight(), rcList.GetBottom()}, button.x,
        button.y);

    m_frame->SetSize(0, 0, client.x, client.y);
    // wx takes -1 as "keep the current size", so a collapsed list gets 0.
    m_CookieList->SetSize(std::max(layout.nListWidth, 0), std::max(layout.nListHeight, 0));
    wxButton* const buttons[LAYOUT_BUTTONS] = {m_btnDelete,  m_btnDeleteAll, m_btnProtect,
                                               m_btnRefresh, m_btnLocations, m_btnTrayOnly,
                                               m_btnOptions, m_btnHelp,      m_btnExit};
    for (int i = 0; i < LAYOUT_BUTTONS; ++i)
        buttons[i]->Move(layout.nButtonX, layout.nButtonY[i]);
}

bool CCookieDlg::IsFocusInList() const
{
    for (wxWindow* pWindow = FindFocus(); pWindow != nullptr; pWindow = pWindow->GetParent())
        if (pWindow == m_CookieList)
            return true;
    return false;
}

void CCookieDlg::OnCharHook(wxKeyEvent& event)
{
    const int nKey = event.GetKeyCode();
    const bool bPlain = event.GetModifiers() == wxMOD_NONE;
    if (nKey == WXK_F1 && event.GetModifiers() == wxMOD_CONTROL)
        OnSysCommand(ID_SYS_ABOUT);
    else if (nKey == 'Z' && event.GetModifiers() == wxMOD_CONTROL)
        OnUndoLastDeletion();
    else if (IsFocusInList() && OnListKeyDown(nKey))
        return;
    else if (bPlain && (nKey == WXK_RETURN || nKey == WXK_NUMPAD_ENTER) &&
             dynamic_cast<wxButton*>(FindFocus()) == nullptr)
        EndDialog(wxID_OK); // no default button: Enter ends the window like Exit
    else if (bPlain && nKey == WXK_ESCAPE)
        EndDialog(wxID_CANCEL); // there is no Cancel button for wx to press
    else
        event.Skip();
}

bool CCookieDlg::OnListKeyDown(int nKey)
{
    if (nKey == WXK_DELETE || nKey == WXK_NUMPAD_DELETE)
    {
        TakeUserSelection();
        if (m_btnDelete->IsEnabled())
            OnDelete();
        return true;
    }
    if (nKey == WXK_F5)
    {
        RefreshCookies();
        return true;
    }
    return false;
}

void CCookieDlg::OnListRightClick(wxContextMenuEvent& event)
{
    TakeUserSelection();
    wxPoint point = event.GetPosition();
    point = point == wxDefaultPosition ? wxPoint(0, 0) : m_CookieList->ScreenToClient(point);
    const bool bSelected = m_Inventory.CookieList().GetSelectedCount() > 0;
    std::unique_ptr<wxMenu> pMenu = CreateCookieContextMenu(
        m_btnDelete->IsEnabled(), m_btnProtect->IsEnabled(), bSelected, bSelected);
    AppendUndoMenuItem(*pMenu, CanUndoDeletion());
    m_CookieList->PopupMenu(pMenu.get(), point);
}
