// Screenshots of the main window, the wait screen, the context menu and the
// Sites to Keep dialog for the
// documentation; run on demand:
//   scripts/with-display.sh build/tests/gui_tests --gtest_also_run_disabled_tests
//       --gtest_filter='*Screenshots*'
// The pictures land in the folder named by JARVANE_SCREENSHOTS (default /tmp).
#include "main_window_fixture.h"
#include "modal_script.h"
#include "ui/sites_dlg.h"
#include "ui/wait_screen.h"

#include <cstdlib>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace
{
std::string ShotPath(const char* pszName)
{
    const char* pszFolder = std::getenv("JARVANE_SCREENSHOTS");
    return std::string(pszFolder ? pszFolder : "/tmp") + "/" + pszName;
}

void ShootWindow(wxWindow* pWindow, const char* pszName)
{
    const wxRect rc = pWindow->GetScreenRect();
    const std::string strCommand = "import -window root -crop " + std::to_string(rc.width) + "x" +
                                   std::to_string(rc.height) + "+" + std::to_string(rc.x) + "+" +
                                   std::to_string(rc.y) + " " + ShotPath(pszName);
    EXPECT_EQ(wxExecute(strCommand, wxEXEC_SYNC), 0);
}
} // namespace

TEST_F(CMainWindowTest, DISABLED_Screenshots)
{
    const char* const names[] = {"ads.example.com/", "news.example.com/", "shop.example.com/",
                                 "mail.example.com/", "search.example.com/"};
    int i = 0;
    for (const char* pszName : names)
        WriteIECookie("c" + std::to_string(i++) + ".txt", pszName);
    WriteNSCookies({".weather.example.org", ".forum.example.org", ".bank.example.net"});
    m_dir.Write("IEPROT.DAT", "mail.example.com/\r\n");
    m_dir.Write("NSPROT.DAT", ".bank.example.net\r\n");
    CCookieDlg& dlg = OpenWindow();
    dlg.SetFocus();
    YieldFor(500);
    ShootWindow(&dlg, "main-window.png");

    // The context menu, shot from its own loop.
    wxTimer shooter;
    shooter.Bind(wxEVT_TIMER,
                 [](wxTimerEvent&)
                 {
                     wxExecute("import -window root " + ShotPath("context-menu.png"), wxEXEC_SYNC);
                     wxUIActionSimulator().Char(WXK_ESCAPE);
                 });
    shooter.StartOnce(600);
    ClickRow(1, 0, true);
    YieldFor(1200);

    // The Sites to Keep dialog, with two sites and one being typed.
    m_dir.Write("SITES.DAT", "bank.example.net\r\nmail.example.com\r\n");
    dlg.RefreshCookies();
    CModalScript dialogs;
    dialogs.On<CSitesDlg>(
        [](CSitesDlg& sites)
        {
            sites.m_editSite->SetValue("forum.example.org");
            wxYield();
            wxMilliSleep(300);
            wxYield();
            ShootWindow(&sites, "sites-to-keep.png");
            sites.EndModal(wxID_CANCEL);
        });
    dlg.OnSitesToKeep();

    // The wait screen, shot when the deletion's sound starts: the screen stands
    // as it was painted before the pause.
    WriteSettings("Yes", "Yes", 0);
    dlg.ReadSettings();
    SetSoundHook([](const CSoundRequest&)
                 { wxExecute("import -window root " + ShotPath("wait-screen.png"), wxEXEC_SYNC); });
    ClickRow(0);
    dlg.OnDelete();
    YieldFor(1000);
}
