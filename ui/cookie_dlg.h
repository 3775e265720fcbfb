#pragma once

#include "app/auto_delete_schedule.h"
#include "app/settings.h"
#include "inventory/cookie_inventory.h"

#include <memory>
#include <set>
#include <string>
#include <wx/dialog.h>
#include <wx/timer.h>

class wxButton;
class wxImageList;
class wxListEvent;
class wxStaticBox;
class wxStaticText;
class CCookieListView;
class CTrayIcon;

// Control ids of the main window.
enum
{
    IDC_EXIT = 1000,
    IDC_DELETE = 1001,
    IDC_DELETE_ALL = 1002,
    IDC_HELP = 1004,
    IDC_PROTECT = 1006,
    IDC_OPTIONS = 1007,
    IDC_TRAY_ONLY = 1008,
    IDC_LOCATIONS = 1009,
    IDC_REFRESH = 1010,
    IDC_COOKIE_LIST = 1015,
    IDC_COUNT = 1017,
    IDC_FRAME = 1023,
    // The context menu's "Properties..." (no button has it).
    IDC_PROPERTIES = 1032,
    IDC_UNDO_DELETION = 1040, // context menu and Ctrl+Z
};

// The About command of the window menu; its low four bits are zero.
constexpr unsigned ID_SYS_ABOUT = 0x0010;
// The auto-delete timer's id.
constexpr int AUTO_DELETE_TIMER_ID = 1;
// The id of the timer that watches for the notification area coming and going.
constexpr int TRAY_WATCH_TIMER_ID = 2;
constexpr int TRAY_WATCH_MS = 1000;

// The program's main window: the cookie list with its commands, the
// notification-area icon, the auto-delete timer and the About box.
// ui/cookie_dlg.cpp holds its life, the list and the commands; the rest is in
// ui/cookie_dlg_*.cpp, one file a purpose (controls, tray, auto_delete, keys,
// layout, context_menu, undo), and ui/site_commands.cpp.
class CCookieDlg : public wxDialog
{
public:
    explicit CCookieDlg(wxWindow* pParent);
    ~CCookieDlg() override;

    // Ending the window saves the protection lists at once.
    void EndModal(int nRetCode) override;
    // Hiding the window while it runs modally keeps its modal run going: the
    // program goes on, reached through the notification-area icon.
    bool Show(bool bShow = true) override;

    // Commands.
    void OnExit();
    void OnDelete();
    void OnDeleteAll();
    void OnHelp();
    void OnProtect();
    void OnOptions();
    void OnLocations();
    void OnRefresh();
    void OnTrayOnly();
    // Opens Cookie Properties for the focused row when it is selected, else
    // for the first selected row; nothing when no row is selected.
    void OnProperties();
    // Opens Cookie Properties for one row.
    void ShowProperties(int nItem);
    // A command of the notification-area icon's menu: ID_TRAY_SHOW shows the
    // window normally, IDC_DELETE_ALL and IDC_EXIT run the window's commands.
    void OnTrayCommand(int nCommand);
    // The context menu's site commands (ui/site_commands.cpp).
    void OnKeepSite();
    void OnSitesToKeep();
    // A command of the window menu; ID_SYS_ABOUT (any low four bits) opens the
    // About box.
    void OnSysCommand(unsigned nID);
    // A mouse message from notification-area icon nIconId: the left button
    // going down shows the window normally; every other message is ignored.
    void OnTrayNotify(unsigned nIconId, wxEventType nMouseMessage);
    // Ends the window as Exit does; a deletion that runs finishes first.
    void EndAsExit();
    // What the end does, at once, for a session that ends as soon as it is
    // told: the lists are written (unless a deletion runs, which then ends the
    // window when it finishes).
    void EndSessionNow();
    // Shows the window at its normal size and in front, out of the
    // notification area if it was hidden there.
    void ShowNormally();

    void RefreshCookies();
    CDeletionReport DeleteAllUnprotected();
    void UpdateControls();
    void ReadSettings();
    void AutoDeleteTimerProc();
    void PlayWave(const std::string& strPath);
    // Without a notification area Tray Only only minimizes the window, and its
    // tooltip says why; a window hidden in the area comes back when the area
    // goes.
    void FollowNotificationArea();
    // Stops the timer, removes the notification-area icon and saves the
    // protection lists.
    void OnDestroy();

    CTrayIcon* GetTrayIcon() const { return m_pTrayIcon.get(); }

    // Test hook: when not 0, the auto-delete timer runs at this interval for
    // every choice but "Never".
    static void SetAutoDeleteIntervalOverride(unsigned nMs);

    // The running auto-delete timer's id, 0 while none runs (the choice is
    // "Never", or the timer service refused): the window and its tests read the
    // timer's state through this one member.
    unsigned m_nTimerId = 0;
    CCookieInventory m_Inventory;
    CSettings m_Settings; // in force: as ReadSettings last read them

    wxButton* m_btnTrayOnly = nullptr;
    wxButton* m_btnHelp = nullptr;
    wxButton* m_btnExit = nullptr;
    wxButton* m_btnRefresh = nullptr;
    wxButton* m_btnOptions = nullptr;
    wxButton* m_btnLocations = nullptr;
    wxStaticBox* m_frame = nullptr;
    wxButton* m_btnDeleteAll = nullptr;
    wxButton* m_btnDelete = nullptr;
    wxButton* m_btnProtect = nullptr;
    wxStaticText* m_staticCount = nullptr;
    CCookieListView* m_CookieList = nullptr;
    wxWindow* m_pLogo = nullptr;

private:
    void CreateControls();
    void CreateColumns();
    void BindEvents();
    void UpdateTrayIcon(int nRequest);
    void ShowInventory();
    void TakeUserSelection();
    bool IsFocusInList() const;
    void BeginDeletion();
    void EndDeletion();
    // The thin wx side of m_schedule: restarts the period from the settings in
    // force, waits for the tick that falls due next, and takes it when it comes.
    void StartAutoDeleteTimer();
    void WaitForNextTick();
    void OnAutoDeleteTimer();
    // Tells the user which unreadable keep lists kept rows of the last
    // deletion: each list once while it stays unreadable, or every time
    // (bAlways) for a command the user gave.
    void TellKeptRows(bool bAlways);
    // After Delete or Delete All: says how many cookies stayed because their
    // browser runs.
    void TellInUse(const CDeletionReport& report);
    // Tells the user, once per list, which protection lists could not be written.
    void TellUnsavedLists();

    void OnSize(wxSizeEvent& event);
    void OnCharHook(wxKeyEvent& event);
    // The Delete and F5 keys while the list has the focus; false for other keys.
    bool OnListKeyDown(int nKey);
    void OnItemChanged();
    void OnColumnClick(wxListEvent& event);
    void OnListRightClick(wxContextMenuEvent& event);
    wxMenu* CreateTrayMenu() const;

    // Undo Last Deletion: puts back the newest deletion batch still kept,
    // after asking, and says what came back.
    void OnUndoLastDeletion();
    bool CanUndoDeletion();
    // After a batch: tells why it deleted nothing, once while the timer keeps
    // being refused.
    void ReportUndoRefusal(bool bByTimer);
    bool m_bUndoRefusalShown = false;
    bool m_bTimerBatch = false;

    wxImageList* m_imgState = nullptr; // owned by the list
    std::unique_ptr<CTrayIcon> m_pTrayIcon;
    // When auto-delete ticks fall due, and whether a user's deletion runs (the
    // wait screen may let the window system in).
    CAutoDeleteSchedule m_schedule;
    wxTimer m_timer;
    wxTimer m_trayWatch;
    bool m_bTrayAvailable = true; // as FollowNotificationArea last saw it
    bool m_bHiddenInTray = false;
    bool m_bUpdatePending = false;
    bool m_bEndDeferred = false; // Exit waits for the running deletion
    bool m_bDestroyed = false;
    // Counts the modal dialogs other than this window that are open: while one
    // is, the icon's menu offers only Show Jarvane.
    std::unique_ptr<class COtherModalDialogs> m_pOtherModals;
    // The list problems the user has been told of ("read:" or "write:" and the
    // path); one is forgotten when it has gone, so that it is told if it comes back.
    std::set<std::string> m_toldProblems;
    // The controls stand where the template puts them until the client area
    // first changes its size.
    wxSize m_templateClientSize;
    bool m_bLaidOut = false;
};
