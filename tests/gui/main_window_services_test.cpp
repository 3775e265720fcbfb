#include "main_window_fixture.h"
#include "ui/cookie_list_view.h"
#include "ui/dialog_units.h"
#include "ui/main_layout.h"
#include "ui/message_box.h"
#include "ui/tray_icon.h"
#include "ui/wait_screen.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/taskbar.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

using V = std::vector<std::string>;

TEST(MainLayoutTest, ButtonsStackByTheButtonHeightAndFollowTheWidth)
{
    // A window at 100,50 whose list stands 12 pixels in and 90 down (frame and
    // caption included); Delete button 75 by 23.
    const CScreenRect rcWindow = {100, 50, 700, 500};
    const CScreenRect rcList = {112, 140, 500, 420};
    const CMainLayout layout = ComputeMainLayout(580, 420, rcWindow, rcList, 75, 23);
    const int y0 = 140 - 50 - 23;
    const int offsets[LAYOUT_BUTTONS] = {0, 23, 46, 73, 101, 124, 161, 184, 236};
    for (int i = 0; i < LAYOUT_BUTTONS; ++i)
        EXPECT_EQ(layout.nButtonY[i], y0 + offsets[i]) << i;
    EXPECT_EQ(layout.nButtonX, 580 - 80);
    EXPECT_EQ(layout.nListWidth, 580 + 100 - 112 - 80);
    EXPECT_EQ(layout.nListHeight, 420 + 50 - 140 + 10);

    // 100 pixels wider: buttons and list follow by 100, nothing else changes.
    const CMainLayout wider = ComputeMainLayout(680, 420, rcWindow, rcList, 75, 23);
    EXPECT_EQ(wider.nButtonX, layout.nButtonX + 100);
    EXPECT_EQ(wider.nListWidth, layout.nListWidth + 100);
    EXPECT_EQ(wider.nButtonY[LAYOUT_EXIT], layout.nButtonY[LAYOUT_EXIT]);

    // A collapsed client area gives negative sizes; they are passed on as they are.
    EXPECT_LT(ComputeMainLayout(0, 0, rcWindow, rcList, 75, 23).nListWidth, 0);
}

TEST_F(CMainWindowTest, UntilTheFirstResizeTheControlsStandWhereTheTemplatePutsThem)
{
    CCookieDlg& dlg = OpenWindow();
    YieldFor(200);
    const wxRect rcDelete = DluToPixels(&dlg, {290, 49, 44, 14});
    const wxRect rcList = DluToPixels(&dlg, {6, 49, 282, 162});
    EXPECT_EQ(dlg.m_btnDelete->GetPosition(), rcDelete.GetPosition());
    EXPECT_EQ(dlg.m_btnExit->GetPosition(), DluToPixels(&dlg, {290, 196, 44, 14}).GetPosition());
    EXPECT_EQ(dlg.m_CookieList->GetRect(), rcList);
}

TEST_F(CMainWindowTest, ResizingMovesTheButtonsAndTheListButNotTheColumns)
{
    CCookieDlg& dlg = OpenWindow();
    const int nColumn = dlg.m_CookieList->GetColumnWidth(0);
    dlg.SetSize(dlg.GetSize() + wxSize(100, 60));
    YieldFor(200);
    const wxPoint exitBefore = dlg.m_btnExit->GetPosition();
    const wxSize listBefore = dlg.m_CookieList->GetSize();
    dlg.SetSize(dlg.GetSize() + wxSize(100, 0));
    YieldUntil([&] { return dlg.m_btnExit->GetPosition() != exitBefore; });
    EXPECT_EQ(dlg.m_btnExit->GetPosition(), exitBefore + wxPoint(100, 0));
    EXPECT_EQ(dlg.m_CookieList->GetSize(), listBefore + wxSize(100, 0));
    EXPECT_EQ(dlg.m_CookieList->GetColumnWidth(0), nColumn);
    EXPECT_EQ(dlg.m_frame->GetSize(), dlg.GetClientSize());
    const int h = dlg.m_btnDelete->GetSize().y;
    EXPECT_EQ(dlg.m_btnRefresh->GetPosition().y - dlg.m_btnDelete->GetPosition().y,
              static_cast<int>(3.2 * h));
}

TEST_F(CMainWindowTest, TimerTickDeletesEveryUnprotectedCookieOfBothStores)
{
    const std::string strKeep = WriteIECookie("keep.txt", "keep.example.com/");
    const std::string strGo = WriteIECookie("go.txt", "go.example.com/");
    WriteNSCookies({"a.example.org", "b.example.org"});
    m_dir.Write("IEPROT.DAT", "keep.example.com/\r\n");
    m_dir.Write("NSPROT.DAT", "b.example.org\r\n");
    CCookieDlg& dlg = OpenWindow();
    const std::string strLate = WriteIECookie("late.txt", "late.example.com/");

    dlg.AutoDeleteTimerProc();
    EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"b.example.org", "keep.example.com/"}));
    EXPECT_TRUE(FileExists(strKeep));
    EXPECT_FALSE(FileExists(strGo));
    EXPECT_FALSE(FileExists(strLate)); // it appeared after the window opened
    EXPECT_EQ(ReadWholeFile(m_strNSFile),
              "# Netscape HTTP Cookie File\r\nb.example.org\tTRUE\t/\tFALSE\t0\tid\t1\r\n");
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "keep.example.com/\r\n");
    EXPECT_EQ(dlg.GetTrayIcon()->GetTip(), "Jarvane (2 Cookies)");
    EXPECT_TRUE(m_sounds.empty());
}

TEST_F(CMainWindowTest, SettingsStartAndStopTheTimer)
{
    WriteSettings("Yes", "Yes", 3);
    CCookieDlg& dlg = OpenWindow();
    EXPECT_EQ(dlg.m_nTimerId, 1u);
    EXPECT_EQ(dlg.m_Settings.m_nAutoDelete, 3);
    EXPECT_EQ(dlg.m_Settings.m_bSoundEffects, 1);

    for (const char* pszValue : {"0", "7", "-1"})
    {
        m_dir.Write("Jarvane.INI", std::string("[General]\r\nSoundEffects=yes\r\nAutoDelete=") +
                                       pszValue + "\r\n");
        dlg.ReadSettings();
        EXPECT_EQ(dlg.m_nTimerId, 0u) << pszValue;
        EXPECT_EQ(dlg.m_Settings.m_nAutoDelete, 0);
        EXPECT_EQ(dlg.m_Settings.m_bSoundEffects, 0); // only "Yes" turns it on
    }
}

TEST_F(CMainWindowTest, TheTimerTicksAlsoWhileTheDeleteAllQuestionIsOpen)
{
    WriteIECookie("keep.txt", "keep.example.com/");
    m_dir.Write("IEPROT.DAT", "keep.example.com/\r\n");
    CCookieDlg::SetAutoDeleteIntervalOverride(150);
    WriteSettings("No", "No", 1);
    CCookieDlg& dlg = OpenWindow();
    ASSERT_EQ(dlg.m_nTimerId, 1u);

    // A real tick deletes a cookie that appears later.
    const std::string strFirst = WriteIECookie("first.txt", "first.example.com/");
    EXPECT_TRUE(YieldUntil([&] { return !FileExists(strFirst); }));

    const std::string strSecond = WriteIECookie("second.txt", "second.example.com/");
    bool bTickedDuringQuestion = false;
    SetMessageBoxHandler(
        [&](const wxString&, const wxString&, long)
        {
            bTickedDuringQuestion = YieldUntil([&] { return !FileExists(strSecond); });
            return wxYES;
        });
    dlg.OnDeleteAll();
    EXPECT_TRUE(bTickedDuringQuestion);
    EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"keep.example.com/"}));
}

TEST_F(CMainWindowTest, WaitScreenAndSoundGoWithADeletionAndNoTickRunsInThePause)
{
    const std::string strGo = WriteIECookie("go.txt", "go.example.com/");
    const std::string strStay = WriteIECookie("stay.txt", "stay.example.com/");
    WriteSettings("Yes", "Yes", 0);
    CWaitScreen::SetPauseMs(400);
    CCookieDlg& dlg = OpenWindow();

    // The timer falls due while the wait screen pauses.
    WriteSettings("Yes", "Yes", 1);
    CCookieDlg::SetAutoDeleteIntervalOverride(40);
    dlg.ReadSettings();
    bool bStayedAtSound = false;
    bool bScreenUpAtSound = false;
    SetSoundHook(
        [&](const CSoundRequest& request)
        {
            m_sounds.push_back(request);
            bStayedAtSound = FileExists(strStay);
            bScreenUpAtSound = FindShownTopLevel("Deleting Cookies...") != nullptr;
        });
    const wxLongLong tStart = wxGetLocalTimeMillis();
    dlg.OnDelete(); // "go.example.com/" is the selected row after opening
    EXPECT_GE(wxGetLocalTimeMillis() - tStart, 400);
    EXPECT_TRUE(bStayedAtSound); // no tick inside the command
    EXPECT_TRUE(bScreenUpAtSound);
    EXPECT_FALSE(FileExists(strGo));
    EXPECT_TRUE(YieldUntil([&] { return !FileExists(strStay); })); // the tick ran afterwards
    EXPECT_EQ(FindShownTopLevel("Deleting Cookies..."), nullptr);
    WriteSettings("Yes", "No", 0);
    dlg.ReadSettings();

    // Sounds/Yes.WAV of the start-up folder, or the desktop's bell without it.
    ASSERT_EQ(m_sounds.size(), 1u);
    EXPECT_EQ(m_sounds[0].strEventId, "bell");
    m_dir.Write("Sounds/Yes.WAV", "RIFF");
    WriteIECookie("more.txt", "more.example.com/");
    dlg.OnRefresh();
    dlg.OnDelete();
    ASSERT_EQ(m_sounds.size(), 2u);
    EXPECT_EQ(m_sounds[1].strFile, m_dir.File("Sounds/Yes.WAV"));
    EXPECT_EQ(dlg.m_CookieList->GetItemCount(), 0);

    // Without sound effects nothing is played.
    WriteSettings("No", "No", 0);
    dlg.ReadSettings();
    WriteIECookie("last.txt", "last.example.com/");
    dlg.OnRefresh();
    dlg.OnDelete();
    EXPECT_EQ(m_sounds.size(), 2u);
}

// The centre of this program's icon docked in the tray at the bottom of the
// screen, or -1,-1.
static wxPoint FindDockedIcon()
{
    wxArrayString lines;
    wxExecute("sh -c \"xdotool search --classname gui_tests | while read w; do xdotool "
              "getwindowgeometry --shell $w; done\"",
              lines, wxEXEC_SYNC);
    wxPoint icon(-1, -1);
    int nX = 0, nY = 0, nWidth = 0;
    for (const wxString& strLine : lines)
    {
        long n = 0;
        if (strLine.StartsWith("X=") && strLine.Mid(2).ToLong(&n))
            nX = n;
        else if (strLine.StartsWith("Y=") && strLine.Mid(2).ToLong(&n))
            nY = n;
        else if (strLine.StartsWith("WIDTH=") && strLine.Mid(6).ToLong(&n))
            nWidth = n;
        else if (strLine.StartsWith("HEIGHT=") && strLine.Mid(7).ToLong(&n) && nWidth <= 64 &&
                 n <= 64 && nY > 1100)
            icon = wxPoint(nX + nWidth / 2, nY + n / 2);
    }
    return icon;
}

TEST_F(CMainWindowTest, TrayOnlyHidesTheWindowAndALeftClickOnTheIconBringsItBack)
{
    WriteIECookie("a.txt", "a.example.com/");
    const bool bRunning = RunWindowModally(
        [&](CCookieDlg& dlg)
        {
            EXPECT_EQ(dlg.GetTrayIcon()->GetTip(), "Jarvane (1 Cookies)");
            EXPECT_EQ(dlg.m_btnTrayOnly->GetToolTipText(), "") << "the display has a tray";
            dlg.OnTrayOnly();
            YieldFor(200);
            ASSERT_TRUE(dlg.IsModal()) << "hiding ended the window";
            EXPECT_FALSE(dlg.IsShown());
            // While hidden the window takes its states from the program alone.
            dlg.Maximize();
            ASSERT_TRUE(YieldUntil([&] { return dlg.IsMaximized(); }));

            // The docked icon's window, found through the tray. Docking and the
            // tray's layout follow asynchronously: the icon counts once it
            // stands in the tray at the same place twice in a row.
            wxPoint icon(-1, -1);
            ASSERT_TRUE(YieldUntil(
                [&]
                {
                    const wxPoint last = icon;
                    icon = FindDockedIcon();
                    YieldFor(100);
                    return icon != wxPoint(-1, -1) && icon == last;
                },
                20000))
                << "no docked icon found";

            wxUIActionSimulator input;
            input.MouseMove(icon);
            YieldFor(50);
            // A right-click pops up the icon's menu, which runs until closed.
            wxTimer closeMenu;
            closeMenu.Bind(wxEVT_TIMER,
                           [](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
            closeMenu.StartOnce(400);
            input.MouseClick(wxMOUSE_BTN_RIGHT);
            YieldFor(800);
            EXPECT_FALSE(dlg.IsShown());
            input.MouseClick(wxMOUSE_BTN_LEFT);
            EXPECT_TRUE(YieldUntil([&] { return dlg.IsShownOnScreen(); }, 20000));
            EXPECT_FALSE(dlg.IsIconized());
            EXPECT_FALSE(dlg.IsMaximized());
        });
    EXPECT_TRUE(bRunning);
}

// Run on a display without a notification area (see tests/CMakeLists.txt); the
// test starts and stops one itself.
TEST_F(CMainWindowTest, DISABLED_WithoutANotificationAreaTrayOnlyKeepsTheWindowOpen)
{
    ASSERT_FALSE(wxTaskBarIcon::IsAvailable()) << "run on a display without a tray";
    {
        CCookieDlg notRunning(nullptr); // only its modal run shows the window
        YieldFor(TRAY_WATCH_MS + 200);
        EXPECT_FALSE(notRunning.IsShown());
    }
    const bool bRunning = RunWindowModally(
        [&](CCookieDlg& dlg)
        {
            EXPECT_NE(dlg.m_btnTrayOnly->GetToolTipText(), "");
            dlg.OnTrayOnly(); // minimizes (the test display has no window manager to do it)
            YieldFor(100);
            EXPECT_TRUE(dlg.IsShown());

            const long nTray = wxExecute("trayer --edge bottom --align right", wxEXEC_ASYNC);
            ASSERT_NE(nTray, 0);
            EXPECT_TRUE(
                YieldUntil([&] { return dlg.m_btnTrayOnly->GetToolTipText().empty(); }, 5000));
            dlg.OnTrayOnly();
            YieldFor(100);
            EXPECT_FALSE(dlg.IsShown());

            wxKill(nTray, wxSIGTERM);
            EXPECT_TRUE(YieldUntil([&] { return dlg.IsShownOnScreen(); }, 5000));
            EXPECT_NE(dlg.m_btnTrayOnly->GetToolTipText(), "");
        });
    EXPECT_TRUE(bRunning);
}

TEST_F(CMainWindowTest, AboutBoxOpensFromTheWindowCommandTheShortcutAndTheLogo)
{
    CCookieDlg& dlg = OpenWindow();
    int nOpened = 0;
    // Closes the About box from its own loop as soon as it shows.
    wxTimer closer;
    closer.Bind(wxEVT_TIMER,
                [&](wxTimerEvent&)
                {
                    auto* pAbout = dynamic_cast<wxDialog*>(FindShownTopLevel("About Jarvane"));
                    if (pAbout == nullptr || !pAbout->IsModal())
                        return;
                    ++nOpened;
                    bool bText = false;
                    for (wxWindow* pChild : pAbout->GetChildren())
                        bText = bText || pChild->GetLabel() == "Jarvane  Version 1.0";
                    EXPECT_TRUE(bText);
                    pAbout->EndModal(wxID_OK);
                });
    closer.Start(50);
    dlg.OnSysCommand(ID_SYS_ABOUT | 0x5);
    EXPECT_EQ(nOpened, 1);
    dlg.OnSysCommand(ID_SYS_ABOUT + 0x10); // another command
    EXPECT_EQ(nOpened, 1);

    dlg.m_CookieList->SetFocus();
    PressKey(WXK_F1, wxMOD_CONTROL);
    EXPECT_EQ(nOpened, 2);

    wxUIActionSimulator input;
    input.MouseMove(dlg.m_pLogo->GetScreenRect().GetPosition() + wxPoint(10, 10));
    YieldFor(50);
    input.MouseClick();
    YieldFor(200);
    EXPECT_EQ(nOpened, 3);
}

TEST_F(CMainWindowTest, ExitEscapeEnterAndTheCloseBoxEndTheWindowAndSaveTheMarks)
{
    WriteIECookie("a.txt", "a.example.com/");
    struct CWay
    {
        const char* pszName;
        std::function<void(CCookieDlg&)> fnEnd;
    };
    // The keys go through the window's key hook as the window system would
    // deliver them.
    auto key = [](CCookieDlg& dlg, wxWindow* pFocus, int nKey)
    {
        pFocus->SetFocus();
        wxKeyEvent event(wxEVT_CHAR_HOOK);
        event.m_keyCode = nKey;
        event.SetEventObject(pFocus);
        dlg.ProcessWindowEvent(event);
    };
    const CWay ways[] = {
        {"Exit",
         [](CCookieDlg& dlg)
         {
             wxCommandEvent click(wxEVT_BUTTON, IDC_EXIT);
             dlg.m_btnExit->Command(click);
         }},
        {"Escape", [&](CCookieDlg& dlg) { key(dlg, dlg.m_CookieList, WXK_ESCAPE); }},
        {"Enter", [&](CCookieDlg& dlg) { key(dlg, dlg.m_CookieList, WXK_RETURN); }},
        {"close box", [](CCookieDlg& dlg) { dlg.Close(); }},
    };
    for (const CWay& way : ways)
    {
        m_dir.Write("IEPROT.DAT", "");
        const bool bRunning = RunWindowModally(
            [&](CCookieDlg& dlg)
            {
                dlg.OnProtect(); // the one row is selected after opening
                way.fnEnd(dlg);
                YieldFor(100);
                EXPECT_FALSE(dlg.IsShown()) << way.pszName;
            });
        EXPECT_FALSE(bRunning) << way.pszName;
        EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "a.example.com/\r\n") << way.pszName;
    }
}
