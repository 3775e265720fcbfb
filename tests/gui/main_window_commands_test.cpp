#include "main_window_fixture.h"
#include "modal_script.h"
#include "platform/safe_file.h"
#include "source_root.h"
#include "ui/about_dlg.h"
#include "ui/cookie_context_menu.h"
#include "ui/cookie_list_view.h"
#include "ui/cookie_properties_dlg.h"
#include "ui/find_location_dlg.h"
#include "ui/message_box.h"
#include "ui/options_dlg.h"
#include "ui/site_commands.h"
#include "ui/sites_dlg.h"
#include "ui/tray_icon.h"

#include <filesystem>
#include <unistd.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/html/helpdlg.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

using V = std::vector<std::string>;

namespace
{
// Runs fnAction once from the event loop that is running nMs from now (a
// modal dialog's or a menu's).
void RunSoon(int nMs, std::function<void()> fnAction)
{
    auto* pTimer = new wxTimer;
    pTimer->Bind(wxEVT_TIMER,
                 [pTimer, fnAction](wxTimerEvent&)
                 {
                     fnAction();
                     pTimer->Stop();
                     wxTheApp->CallAfter([pTimer] { delete pTimer; });
                 });
    pTimer->StartOnce(nMs);
}

void ClickButton(wxButton* pButton)
{
    wxUIActionSimulator input;
    input.MouseMove(pButton->GetScreenRect().GetPosition() + wxPoint(10, 8));
    YieldFor(30);
    input.MouseClick();
    YieldFor(80);
}
} // namespace

class CTenCookieTest : public CMainWindowTest
{
protected:
    void SetUp() override
    {
        for (char c = 'a'; c <= 'j'; ++c)
            m_files.push_back(
                WriteIECookie(std::string(1, c) + ".txt", std::string(1, c) + ".example.com/"));
        OpenWindow();
        ASSERT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
    }

    std::vector<std::string> m_files;
};

TEST_F(CTenCookieTest, DeleteKeyDeletesTheSelectedRowsAndSelectsTheNextOne)
{
    ClickRow(2);
    ClickRow(5, wxMOD_CONTROL);
    ClickRow(7, wxMOD_CONTROL);
    PressKey(WXK_DELETE);

    EXPECT_EQ(ShownColumn(COL_COOKIE),
              (V{"a.example.com/", "b.example.com/", "d.example.com/", "e.example.com/",
                 "g.example.com/", "i.example.com/", "j.example.com/"}));
    for (size_t i = 0; i < m_files.size(); ++i)
        EXPECT_EQ(FileExists(m_files[i]), i != 2 && i != 5 && i != 7) << m_files[i];
    EXPECT_EQ(ShownSelection(), (std::vector<long>{2}));
    EXPECT_EQ(ShownFocus(), 2);
    EXPECT_EQ(m_pDlg->m_staticCount->GetLabel(), "7");
    EXPECT_EQ(m_pDlg->GetTrayIcon()->GetTip(), "Jarvane (7 Cookies)");
    EXPECT_TRUE(m_sounds.empty()); // sound effects are off

    // Deleting the last rows selects the new last row.
    ClickRow(5);
    ClickRow(6, wxMOD_SHIFT);
    PressKey(WXK_DELETE);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 5);
    EXPECT_EQ(ShownSelection(), (std::vector<long>{4}));
}

TEST_F(CTenCookieTest, DeleteKeyDoesNothingWithAProtectedRowSelected)
{
    ClickRow(3);
    ClickButton(m_pDlg->m_btnProtect);
    EXPECT_EQ(ShownColumn(COL_STATE)[3], "Protected");
    EXPECT_EQ(m_pDlg->m_btnProtect->GetLabel(), "&Unprotect");
    EXPECT_EQ(ShownSelection(), (std::vector<long>{3}));

    ClickRow(4, wxMOD_CONTROL);
    PressKey(WXK_DELETE);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
    EXPECT_TRUE(FileExists(m_files[4]));

    // Deleting every unprotected row leaves the protected one.
    SetMessageBoxHandler([](const wxString&, const wxString&, long) { return wxYES; });
    ClickButton(m_pDlg->m_btnDeleteAll);
    EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"d.example.com/"}));
}

TEST_F(CTenCookieTest, DeleteAllAsksFirstAndKeepsProtectedCookies)
{
    std::vector<std::pair<wxString, wxString>> questions;
    long nStyle = 0;
    int nAnswer = wxNO;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString& strCaption, long nBoxStyle)
        {
            questions.emplace_back(strText, strCaption);
            nStyle = nBoxStyle;
            return nAnswer;
        });
    ClickButton(m_pDlg->m_btnDeleteAll);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].first,
              "Are you sure you want to delete all cookies?\n\nProtected Cookies will not be "
              "deleted.\n(You will need to Unprotect them first if you wish to delete them).");
    EXPECT_EQ(questions[0].second, "Jarvane Confirmation");
    EXPECT_EQ(nStyle, wxYES_NO | wxICON_QUESTION);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);

    ClickRow(0);
    ClickButton(m_pDlg->m_btnProtect);
    nAnswer = wxYES;
    ClickButton(m_pDlg->m_btnDeleteAll);
    EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"a.example.com/"}));
    EXPECT_TRUE(FileExists(m_files[0]));
    EXPECT_FALSE(FileExists(m_files[9]));
    EXPECT_EQ(m_pDlg->m_staticCount->GetLabel(), "1");
}

// A running browser keeps its cookies: Delete and Delete All say how many
// stayed, of which browser, in one message; a timer tick says nothing.
TEST_F(CMainWindowTest, DeleteTellsWhichCookiesStayedBecauseTheirBrowserRuns)
{
    std::filesystem::copy(JARVANE_BROWSER_FIXTURES "/home", m_dir.File("home"),
                          std::filesystem::copy_options::recursive);
    const std::string strFirefox = m_dir.File("home/.config/mozilla/firefox/jk45xpu8.work");
    const std::string strChromium = m_dir.File("home/.config/chromium");
    m_dir.Write("Location.DAT", "[IE]\r\nLocation 1=" + m_strIEFolder +
                                    "\r\n[FF]\r\nLocation 1=" + strFirefox +
                                    "/cookies.sqlite\r\n[CR]\r\nLocation 1=" + strChromium +
                                    "/Default/Cookies\r\n");
    const std::string strIE = WriteIECookie("a.txt", "a.example.com/");
    char host[256] = {};
    gethostname(host, sizeof(host) - 1);
    const std::string strPid = std::to_string(getpid());
    ASSERT_EQ(symlink((std::string(host) + "-" + strPid).c_str(),
                      (strChromium + "/SingletonLock").c_str()),
              0);
    OpenWindow();
    ASSERT_EQ(m_pDlg->m_CookieList->GetItemCount(), 13);
    V boxes;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString& strCaption, long nStyle)
        {
            boxes.push_back(strText.utf8_string() + "|" + strCaption.utf8_string() +
                            (nStyle == (wxOK | wxICON_INFORMATION) ? "|info" : ""));
            return wxYES;
        });

    const V states = ShownColumn(COL_STATE);
    ClickRow(static_cast<int>(std::find(states.begin(), states.end(), "In use") - states.begin()));
    PressKey(WXK_DELETE);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 13);
    EXPECT_EQ(boxes, V{"1 cookie of Chromium was not deleted because Chromium is running.\n\n"
                       "It can be deleted once Chromium is closed.|Jarvane|info"});

    boxes.clear();
    ASSERT_EQ(symlink(("127.0.0.1:+" + strPid).c_str(), (strFirefox + "/lock").c_str()), 0);
    ClickButton(m_pDlg->m_btnDeleteAll);
    ASSERT_EQ(boxes.size(), 2u); // the question, then what stayed
    EXPECT_EQ(boxes[1], "6 cookies of Firefox were not deleted because Firefox is running.\n"
                        "6 cookies of Chromium were not deleted because Chromium is running."
                        "\n\nThey can be deleted once these browsers are closed.|Jarvane|info");
    EXPECT_FALSE(FileExists(strIE));
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 12);

    boxes.clear();
    m_pDlg->AutoDeleteTimerProc();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 12);
}

TEST_F(CTenCookieTest, F5RefreshesFromTheDiskAndProtectionSurvives)
{
    ClickRow(9);
    ClickButton(m_pDlg->m_btnProtect);
    WriteIECookie("k.txt", "k.example.com/");
    ClickBelowRows(); // nothing selected: F5 still refreshes
    ASSERT_TRUE(ShownSelection().empty());
    PressKey(WXK_F5);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 11);
    EXPECT_EQ(ShownColumn(COL_COOKIE).back(), "j.example.com/");
    EXPECT_EQ(ShownColumn(COL_STATE).back(), "Protected");
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "j.example.com/\r\n");
}

// Marks reach the disk when set, through the safe replacement; a list that
// cannot be written keeps the marks in memory and the user is told once.
TEST_F(CTenCookieTest, ProtectWritesTheListAtOnceAndTellsOnceWhenItCannot)
{
    std::vector<std::string> messages;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString&, long)
        {
            messages.push_back(strText.utf8_string());
            return wxOK;
        });
    struct CHookGuard
    {
        ~CHookGuard() { SetReplaceFaultHook(nullptr); }
    } guard;
    bool bRenamed = false;
    SetReplaceFaultHook(
        [&](EReplaceStep step)
        {
            bRenamed = bRenamed || step == EReplaceStep::Rename;
            return false;
        });
    ClickRow(1);
    ClickButton(m_pDlg->m_btnProtect);
    EXPECT_TRUE(bRenamed);
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "b.example.com/\r\n");

    SetReplaceFaultHook([](EReplaceStep) { return true; });
    for (int nRow : {2, 3})
    {
        ClickRow(nRow);
        ClickButton(m_pDlg->m_btnProtect);
    }
    SetReplaceFaultHook(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(m_dir.File("IEPROT.DAT") + "\" could not be written"),
              std::string::npos)
        << messages[0];
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "b.example.com/\r\n");
    ClickRow(4);
    ClickButton(m_pDlg->m_btnProtect);
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")),
              "b.example.com/\r\nc.example.com/\r\nd.example.com/\r\ne.example.com/\r\n");
    EXPECT_EQ(messages.size(), 1u);
}

// A protection list that exists but cannot be read (here a folder): no cookie
// of its browser goes, by the timer or by Delete All, which asks nothing when
// it could delete nothing; the timer tells once, a command every time.
TEST_F(CTenCookieTest, AListThatCannotBeReadKeepsItsCookiesAndIsToldOnce)
{
    std::vector<std::string> messages;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString&, long)
        {
            messages.push_back(strText.utf8_string());
            return wxYES;
        });
    const std::string strList = m_dir.File("IEPROT.DAT");
    std::filesystem::create_directory(strList);
    m_pDlg->AutoDeleteTimerProc();
    m_pDlg->AutoDeleteTimerProc();
    EXPECT_EQ(ShownColumn(COL_STATE), V(10, "Unknown"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The protection list \"" + strList +
                               "\" cannot be read, so no cookie of Internet Explorer was "
                               "deleted.\n\nIts cookies show the State \"Unknown\" until the "
                               "list can be read again.");
    ClickButton(m_pDlg->m_btnDeleteAll);
    ASSERT_EQ(messages.size(), 2u); // no question, the same message
    EXPECT_EQ(messages[1], messages[0]);
    for (const std::string& strFile : m_files)
        EXPECT_TRUE(FileExists(strFile)) << strFile;
    EXPECT_TRUE(std::filesystem::is_directory(strList));

    std::filesystem::remove(strList);
    m_dir.Write("IEPROT.DAT", "a.example.com/\r\n");
    m_pDlg->AutoDeleteTimerProc();
    EXPECT_EQ(ShownColumn(COL_COOKIE), V{"a.example.com/"});
    EXPECT_EQ(ShownColumn(COL_STATE), V{"Protected"});
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(CTenCookieTest, ColumnClickSortsAscendingByThatColumn)
{
    m_dir.Write("cookies.txt",
                "# Netscape HTTP Cookie File\nb.example.org\tTRUE\t/\tFALSE\t0\tid\t1\n");
    m_pDlg->OnRefresh();
    ASSERT_EQ(ShownColumn(COL_COOKIE).front(), "a.example.com/");

    wxListCtrl* pList = m_pDlg->m_CookieList;
    const int x = pList->GetColumnWidth(0) + pList->GetColumnWidth(1) + 10;
    wxUIActionSimulator input;
    for (int nClick = 0; nClick < 2; ++nClick) // the same way every time
    {
        input.MouseMove(pList->ClientToScreen(wxPoint(x + 20 * nClick, 6)));
        YieldFor(30);
        input.MouseClick();
        YieldFor(500);
        EXPECT_EQ(ShownColumn(COL_BROWSER).front(), "Internet Explorer");
        EXPECT_EQ(ShownColumn(COL_BROWSER).back(), "Netscape Browser");
    }
}

TEST_F(CTenCookieTest, TheListKeysActWhateverModifierIsHeld)
{
    ClickRow(0);
    PressKey(WXK_DELETE, wxMOD_SHIFT);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 9);
    EXPECT_FALSE(FileExists(m_files[0]));
    WriteIECookie("k.txt", "k.example.com/");
    PressKey(WXK_F5, wxMOD_CONTROL);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
}

TEST_F(CTenCookieTest, AColumnClickSortsWithoutTouchingTheControls)
{
    ClickRow(0);
    ClickButton(m_pDlg->m_btnProtect);
    ClickRow(9, wxMOD_CONTROL); // rows 0 and 9: the first selected is the protected one
    ASSERT_EQ(m_pDlg->m_btnProtect->GetLabel(), "&Unprotect");
    ASSERT_FALSE(m_pDlg->m_btnProtect->IsEnabled());

    wxListCtrl* pList = m_pDlg->m_CookieList;
    wxUIActionSimulator input;
    input.MouseMove(pList->ClientToScreen(wxPoint(pList->GetColumnWidth(0) + 20, 6)));
    YieldFor(30);
    input.MouseClick(); // by State: the protected row goes last, an unprotected one is first
    YieldFor(500);
    ASSERT_EQ(ShownColumn(COL_STATE).back(), "Protected");
    EXPECT_EQ(m_pDlg->m_btnProtect->GetLabel(), "&Unprotect");
}

TEST_F(CTenCookieTest, ProtectionMarksAreSavedWhenTheWindowEnds)
{
    ClickRow(1);
    ClickRow(2, wxMOD_CONTROL);
    ClickButton(m_pDlg->m_btnProtect);
    EXPECT_EQ(ShownColumn(COL_STATE),
              (V{"", "Protected", "Protected", "", "", "", "", "", "", ""}));
    EXPECT_EQ(ShownSelection(), (std::vector<long>{1, 2}));
    EXPECT_EQ(m_pDlg->m_btnProtect->GetLabel(), "&Unprotect");
    // Written at once, through the safe replacement.
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "b.example.com/\r\nc.example.com/\r\n");

    ClickButton(m_pDlg->m_btnExit);
    EXPECT_FALSE(m_pDlg->IsShown());
    CloseWindow();
    EXPECT_EQ(ReadWholeFile(m_dir.File("IEPROT.DAT")), "b.example.com/\r\nc.example.com/\r\n");
    EXPECT_EQ(ReadWholeFile(m_dir.File("NSPROT.DAT")), "");
}

TEST_F(CTenCookieTest, ContextMenuRunsItsCommandsAndGreysWhatIsDisabled)
{
    const auto pMenu = CreateCookieContextMenu(false, true, false, false);
    ASSERT_EQ(pMenu->GetMenuItemCount(), 6u);
    EXPECT_EQ(pMenu->FindItemByPosition(0)->GetItemLabel(), "&Delete");
    EXPECT_EQ(pMenu->FindItemByPosition(1)->GetItemLabel(), "&Change Protection");
    EXPECT_TRUE(pMenu->FindItemByPosition(2)->IsSeparator());
    EXPECT_EQ(pMenu->FindItemByPosition(3)->GetItemLabel(), "Keep Site");
    EXPECT_EQ(pMenu->FindItemByPosition(4)->GetItemLabel(), "Sites to Keep...");
    EXPECT_FALSE(pMenu->IsEnabled(1001));
    EXPECT_TRUE(pMenu->IsEnabled(1006));
    EXPECT_FALSE(pMenu->IsEnabled(IDM_KEEP_SITE));
    EXPECT_EQ(pMenu->FindItemByPosition(5)->GetItemLabel(), "&Properties...");
    EXPECT_FALSE(pMenu->IsEnabled(IDC_PROPERTIES));

    // A right-click on a row opens the menu; its mnemonic runs Change Protection.
    bool bMenuRan = false;
    RunSoon(400,
            [&]
            {
                bMenuRan = true;
                wxUIActionSimulator().Char('c');
            });
    ClickRow(4, 0, true);
    YieldUntil([&] { return bMenuRan; });
    YieldFor(300);
    EXPECT_EQ(ShownColumn(COL_STATE)[4], "Protected");

    // Now Delete is greyed: its mnemonic does nothing, Escape closes the menu.
    RunSoon(400,
            [&]
            {
                wxUIActionSimulator input;
                input.Char('d');
                input.Char(WXK_ESCAPE);
            });
    ClickRow(4, 0, true);
    YieldFor(900);
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
    EXPECT_TRUE(FileExists(m_files[4]));
}

// Ctrl+Z and the context menu put back the last deletion after asking, and
// say what came back; with nothing to put back they do nothing.
TEST_F(CTenCookieTest, UndoLastDeletionPutsBackWhatDeleteAllTook)
{
    const std::string strBefore = ReadWholeFile(m_files[3]);
    std::vector<wxString> boxes;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString&, long)
        {
            boxes.push_back(strText);
            return strText.StartsWith("Put back") || strText.StartsWith("Are you") ? wxYES : wxOK;
        });
    ClickRow(0);
    PressKey('Z', wxMOD_CONTROL);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(CreateCookieContextMenu(true, true, true, true)->FindItem(IDC_UNDO_DELETION));

    ClickButton(m_pDlg->m_btnDeleteAll);
    ASSERT_EQ(m_pDlg->m_CookieList->GetItemCount(), 0);
    ASSERT_FALSE(FileExists(m_files[3]));
    m_pDlg->m_CookieList->SetFocus();
    PressKey('Z', wxMOD_CONTROL);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[1].StartsWith("Put back 10 cookies deleted at ")) << boxes[1];
    EXPECT_EQ(boxes[2], "10 cookies came back.");
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
    EXPECT_EQ(ReadWholeFile(m_files[3]), strBefore);
    EXPECT_EQ(m_pDlg->m_staticCount->GetLabel(), "10");
    PressKey('Z', wxMOD_CONTROL);
    EXPECT_EQ(boxes.size(), 3u);

    // From the context menu, after a Delete All that spared a protected row.
    ClickRow(0);
    ClickButton(m_pDlg->m_btnProtect);
    ClickButton(m_pDlg->m_btnDeleteAll);
    ASSERT_EQ(m_pDlg->m_CookieList->GetItemCount(), 1);
    RunSoon(400, [] { wxUIActionSimulator().Char('u'); });
    ClickRow(0, 0, true);
    YieldUntil([&] { return boxes.size() == 6u; });
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_TRUE(boxes[4].StartsWith("Put back 9 cookies deleted at ")) << boxes[4];
    EXPECT_EQ(m_pDlg->m_CookieList->GetItemCount(), 10);
}

// A double-click on a row and the context menu's Properties... show what the
// row's store keeps of it, never the value (an Internet Explorer sample file,
// a Netscape session cookie).
TEST_F(CMainWindowTest, DoubleClickAndPropertiesShowTheCookiesDetails)
{
    std::filesystem::copy_file(SourceRoot() + "/samples/ie/anonymous@example.com[1].txt",
                               m_dir.File("ie/sample.txt"));
    WriteNSCookies({".b.example"});
    OpenWindow();
    ASSERT_EQ(ShownColumn(COL_COOKIE), (V{".b.example", "example.com/"}));
    std::vector<std::vector<std::pair<wxString, wxString>>> shown;
    CModalScript dialogs;
    for (int i = 0; i < 2; ++i)
        dialogs.On<CCookiePropertiesDlg>(
            [&](CCookiePropertiesDlg& properties)
            {
                EXPECT_EQ(properties.GetTitle(), "Cookie Properties");
                shown.push_back(properties.GetLines());
                PressEscape(properties);
            });
    ClickRow(1, 0, false, true);
    YieldUntil([&] { return shown.size() == 1; });
    RunSoon(400, [] { wxUIActionSimulator().Char('p'); });
    ClickRow(0, 0, true);
    YieldUntil([&] { return shown.size() == 2; });
    ASSERT_EQ(shown.size(), 2u);

    using L = std::vector<std::pair<wxString, wxString>>;
    EXPECT_EQ(shown[0], (L{{"Browser:", "Internet Explorer"},
                           {"File:", m_dir.File("ie/sample.txt")},
                           {"Name:", "session_id"},
                           {"Host:", "example.com"},
                           {"Path:", "/"},
                           {"Expires:", FormatExpiry(CCookieFacts{"", "", "", false, 988045025})},
                           {"Secure:", "No"},
                           {"HttpOnly:", "No"},
                           {"Value:", "12 bytes (not shown)"}}));
    EXPECT_EQ(shown[1][0].second, "Netscape Browser");
    EXPECT_EQ(shown[1][2].second, "id");
    EXPECT_EQ(shown[1][5], std::make_pair(wxString("Expires:"), wxString("End of session")));
    EXPECT_EQ(shown[1][8].second, "1 byte (not shown)");
}

// Every command once, in the window as start-up runs it: none of them may end
// its modal run, and each does its work there.
TEST_F(CMainWindowTest, EveryCommandRunsInsideTheModalRunWithoutEndingIt)
{
    for (char c = 'a'; c <= 'c'; ++c)
        WriteIECookie(std::string(1, c) + ".txt", std::string(1, c) + ".example.com/");
    std::filesystem::copy(SourceRoot() + "/res/help", m_dir.File("help"));
    SetMessageBoxHandler([](const wxString&, const wxString&, long) { return wxYES; });
    CModalScript dialogs;
    dialogs.On<wxHtmlHelpDialog>([](wxHtmlHelpDialog& help) { help.EndModal(wxID_OK); })
        .On<COptionsDlg>([](COptionsDlg& options) { PressEscape(options); })
        .On<CFindLocationDlg>([](CFindLocationDlg& find) { PressEscape(find); })
        .On<CAboutDlg>([](CAboutDlg& about) { about.EndModal(wxID_OK); });
    const bool bRunning = RunWindowModally(
        [&](CCookieDlg& dlg)
        {
            auto still = [&](const char* pszCommand)
            { EXPECT_TRUE(dlg.IsModal() && dlg.IsShown()) << pszCommand << " ended the window"; };
            ClickRow(0);
            ClickButton(dlg.m_btnProtect);
            still("Protect");
            ClickRow(1);
            ClickButton(dlg.m_btnDelete);
            still("Delete");
            EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"a.example.com/", "c.example.com/"}));
            WriteIECookie("d.txt", "d.example.com/");
            ClickButton(dlg.m_btnRefresh);
            still("Refresh");
            PressKey(WXK_F5);
            still("F5");
            ClickRow(0);
            PressKey(WXK_DELETE);
            still("the Delete key");
            ClickButton(dlg.m_btnDeleteAll);
            still("Delete All");
            EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"a.example.com/"}));
            for (wxButton* pButton : {dlg.m_btnHelp, dlg.m_btnOptions, dlg.m_btnLocations})
            {
                ClickButton(pButton);
                YieldUntil([&] { return FindTopModalDialog() == &dlg; });
                still(pButton->GetLabel().utf8_str());
            }
            dlg.OnSysCommand(ID_SYS_ABOUT);
            still("About");

            // The context menu and a column click, each with a loop or sort of its own.
            bool bMenuRan = false;
            RunSoon(400,
                    [&]
                    {
                        bMenuRan = true;
                        wxUIActionSimulator().Char('c');
                    });
            ClickRow(0, 0, true);
            YieldUntil([&] { return bMenuRan; });
            YieldFor(300);
            EXPECT_EQ(ShownColumn(COL_STATE), (V{""}));
            still("the context menu");
            wxUIActionSimulator input;
            input.MouseMove(dlg.m_CookieList->ClientToScreen(wxPoint(20, 6)));
            YieldFor(30);
            input.MouseClick();
            YieldFor(300);
            still("a column click");
            EXPECT_EQ(dialogs.GetPendingSteps(), 0u);
        });
    EXPECT_TRUE(bRunning);
}

TEST_F(CMainWindowTest, KeepSiteAndTheSitesDialogKeepEveryCookieOfASite)
{
    WriteIECookie("a.txt", "www.bank.test/");
    WriteIECookie("b.txt", "tracker.test/");
    const std::string strOther = WriteIECookie("c.txt", "other.example/");
    WriteNSCookies({".accounts.bank.test"});
    std::vector<wxString> messages;
    SetMessageBoxHandler(
        [&](const wxString& strText, const wxString&, long)
        {
            messages.push_back(strText);
            return wxYES;
        });
    CCookieDlg& dlg = OpenWindow();
    auto stateOf = [&](const char* pszName)
    { return ShownColumn(COL_STATE)[static_cast<size_t>(FindShownRow(pszName))]; };
    auto runMenu = [&](int nId)
    {
        wxCommandEvent command(wxEVT_MENU, nId);
        dlg.ProcessWindowEvent(command);
        YieldFor(50);
    };

    // Keep Site keeps the registrable domain of the selected row's host.
    ClickRow(FindShownRow("www.bank.test/"));
    runMenu(IDM_KEEP_SITE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Find("\nbank.test"), wxNOT_FOUND) << messages[0];
    EXPECT_EQ(ReadWholeFile(m_dir.File("SITES.DAT")), "bank.test\r\n");
    EXPECT_EQ(stateOf("www.bank.test/"), "Kept");
    EXPECT_EQ(stateOf(".accounts.bank.test"), "Kept");
    EXPECT_EQ(stateOf("tracker.test/"), "");
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_TRUE(dlg.m_btnProtect->IsEnabled());

    // The dialog starts from SITES.DAT as edited by hand meanwhile; a public
    // suffix is refused with its reason; Cancel writes nothing.
    m_dir.Write("SITES.DAT", "bank.test\r\n# mine\r\nHand.example\r\n");
    CModalScript dialogs;
    dialogs.On<CSitesDlg>(
        [](CSitesDlg& sites)
        {
            sites.m_editSite->SetValue("co.uk");
            ClickButton(sites, IDC_SITE_ADD);
            sites.m_editSite->SetValue("*.Tracker.TEST");
            ClickButton(sites, IDC_SITE_ADD);
            EXPECT_EQ(sites.m_lbSites->GetCount(), 3u);
            ClickButton(sites, wxID_CANCEL);
        });
    runMenu(IDM_SITES_TO_KEEP);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].Find("co.uk\" is a public suffix"), wxNOT_FOUND) << messages[1];
    EXPECT_EQ(ReadWholeFile(m_dir.File("SITES.DAT")), "bank.test\r\n# mine\r\nHand.example\r\n");
    EXPECT_EQ(stateOf("tracker.test/"), "");

    // OK writes: tracker.test added, bank.test removed.
    dialogs.On<CSitesDlg>(
        [](CSitesDlg& sites)
        {
            sites.m_editSite->SetValue("tracker.test");
            ClickButton(sites, IDC_SITE_ADD);
            sites.m_lbSites->DeselectAll();
            sites.m_lbSites->SetSelection(0); // bank.test
            ClickButton(sites, IDC_SITE_REMOVE);
            ClickButton(sites, wxID_OK);
        });
    runMenu(IDM_SITES_TO_KEEP);
    EXPECT_EQ(dialogs.GetPendingSteps(), 0u);
    EXPECT_EQ(ReadWholeFile(m_dir.File("SITES.DAT")), "hand.example\r\ntracker.test\r\n");
    EXPECT_EQ(stateOf("tracker.test/"), "Kept");
    EXPECT_EQ(stateOf("www.bank.test/"), "");

    // Delete All spares the kept cookie.
    ClickButton(dlg.m_btnDeleteAll);
    EXPECT_EQ(ShownColumn(COL_COOKIE), (V{"tracker.test/"}));
    EXPECT_FALSE(FileExists(strOther));

    // A SITES.DAT that cannot be read keeps every cookie, "Unknown": Delete All
    // asks nothing and names it; the site commands change nothing.
    WriteIECookie("d.txt", "new.example/");
    std::filesystem::remove(m_dir.File("SITES.DAT"));
    std::filesystem::create_directory(m_dir.File("SITES.DAT"));
    messages.clear();
    ClickButton(dlg.m_btnRefresh);
    EXPECT_EQ(ShownColumn(COL_STATE), (V{"Unknown", "Unknown"}));
    ClickButton(dlg.m_btnDeleteAll);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Find("SITES.DAT\" cannot be read"), wxNOT_FOUND) << messages[0];
    EXPECT_EQ(dlg.m_CookieList->GetItemCount(), 2);
    runMenu(IDM_SITES_TO_KEEP);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].Find("cannot be read, so the sites to keep cannot be changed"),
              wxNOT_FOUND)
        << messages[1];
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.File("SITES.DAT")));
}
