#include "main_window_fixture.h"

#include "app/app_folders.h"
#include "app/gui/startup.h"
#include "modal_script.h"
#include "ui/cookie_list_view.h"
#include "ui/message_box.h"
#include "ui/wait_screen.h"

#include <filesystem>
#include <wx/app.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

bool YieldUntil(const std::function<bool()>& fnDone, int nTimeoutMs)
{
    const wxLongLong tEnd = wxGetLocalTimeMillis() + nTimeoutMs;
    while (!fnDone() && wxGetLocalTimeMillis() < tEnd)
    {
        wxYield();
        wxMilliSleep(5);
    }
    return fnDone();
}

void YieldFor(int nMs)
{
    YieldUntil([] { return false; }, nMs);
}

wxWindow* FindShownTopLevel(const wxString& strTitle)
{
    for (wxWindow* pWindow : wxTopLevelWindows)
        if (pWindow->IsShown() && pWindow->GetLabel() == strTitle)
            return pWindow;
    return nullptr;
}

CMainWindowTest::CMainWindowTest()
    : m_strIEFolder(m_dir.MakeDir("ie")), m_strNSFile(m_dir.File("cookies.txt"))
{
    GetAppFolders().m_strCurrentFolder = m_dir.Path();
    m_dir.Write("Location.DAT", "[IE]\r\nLocation 1=" + m_strIEFolder +
                                    "\r\n[NS]\r\nLocation 1=" + m_strNSFile + "\r\n");
    WriteSettings("No", "No", 0);
    SetSoundHook([this](const CSoundRequest& request) { m_sounds.push_back(request); });
    SetMessageBoxHandler(
        [](const wxString&, const wxString& strCaption, long)
        {
            ADD_FAILURE() << "unexpected message box " << strCaption.utf8_string();
            return wxNO;
        });
}

CMainWindowTest::~CMainWindowTest()
{
    CloseWindow();
    SetSoundHook(nullptr);
    SetMessageBoxHandler(nullptr);
    CCookieDlg::SetAutoDeleteIntervalOverride(0);
    CWaitScreen::SetPauseMs(1500);
}

std::string CMainWindowTest::WriteIECookie(const std::string& strFile, const std::string& strName)
{
    return m_dir.Write("ie/" + strFile, "id\r\n42\r\n" + strName + "\r\n0\r\n1234\r\n*\r\n");
}

void CMainWindowTest::WriteNSCookies(const std::vector<std::string>& domains)
{
    std::string strText = "# Netscape HTTP Cookie File\n";
    for (const std::string& strDomain : domains)
        strText += strDomain + "\tTRUE\t/\tFALSE\t0\tid\t1\n";
    m_dir.Write("cookies.txt", strText);
}

void CMainWindowTest::WriteSettings(const std::string& strSound, const std::string& strWait,
                                    int nAutoDelete)
{
    m_dir.Write("Jarvane.INI", "[General]\r\nSoundEffects=" + strSound +
                                   "\r\nShowWaitDialog=" + strWait +
                                   "\r\nAutoDelete=" + std::to_string(nAutoDelete) + "\r\n");
}

CCookieDlg& CMainWindowTest::OpenWindow()
{
    m_pDlg = new CCookieDlg(nullptr);
    m_pDlg->Show();
    m_pDlg->Raise();
    YieldUntil([this] { return m_pDlg->IsShownOnScreen(); });
    YieldFor(100);
    return *m_pDlg;
}

bool CMainWindowTest::RunWindowModally(const std::function<void(CCookieDlg&)>& fnSteps)
{
    const std::filesystem::path oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path()); // start-up takes its folder from here
    if (!FileExists(m_strNSFile)) // start-up checks that every remembered location is there
        WriteNSCookies({});
    bool bRunning = false;
    CModalScript script;
    script.On<CCookieDlg>(
        [&](CCookieDlg& window)
        {
            m_pDlg = &window;
            YieldUntil([&] { return window.IsShownOnScreen(); });
            YieldFor(100);
            fnSteps(window);
            bRunning = window.IsModal();
            if (bRunning)
                window.OnExit();
            m_pDlg = nullptr;
        });
    const EStartupEnd end = RunStartupSequence(
        []
        {
            ADD_FAILURE() << "the remembered locations did not pass the start-up check";
            return wxID_CANCEL;
        });
    std::filesystem::current_path(oldFolder);
    EXPECT_EQ(end, EStartupEnd::MainWindowClosed);
    EXPECT_EQ(script.GetPendingSteps(), 0u);
    return bRunning;
}

void CMainWindowTest::CloseWindow()
{
    if (m_pDlg == nullptr)
        return;
    delete m_pDlg;
    m_pDlg = nullptr;
    YieldFor(20);
}

std::vector<std::string> CMainWindowTest::ShownColumn(int nColumn) const
{
    std::vector<std::string> texts;
    for (long i = 0; i < m_pDlg->m_CookieList->GetItemCount(); ++i)
        texts.push_back(m_pDlg->m_CookieList->GetItemText(i, nColumn).utf8_string());
    return texts;
}

std::vector<long> CMainWindowTest::ShownSelection() const
{
    std::vector<long> rows;
    const wxListCtrl* pList = m_pDlg->m_CookieList;
    for (long i = pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
         i = pList->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(i);
    return rows;
}

long CMainWindowTest::ShownFocus() const
{
    return m_pDlg->m_CookieList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
}

int CMainWindowTest::FindShownRow(const std::string& strName) const
{
    const std::vector<std::string> names = ShownColumn(COL_COOKIE);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == strName)
            return static_cast<int>(i);
    return -1;
}

void CMainWindowTest::ClickRow(int nRow, int nModifiers, bool bRight, bool bDouble)
{
    wxListCtrl* pList = m_pDlg->m_CookieList;
    pList->EnsureVisible(nRow);
    YieldFor(30);
    wxRect rc;
    ASSERT_TRUE(pList->GetItemRect(nRow, rc));
    wxUIActionSimulator input;
    const wxPoint point = pList->ClientToScreen(rc.GetPosition() + wxPoint(40, rc.height / 2));
    input.MouseMove(point);
    YieldFor(30);
    if (nModifiers & wxMOD_CONTROL)
        input.KeyDown(WXK_CONTROL);
    if (nModifiers & wxMOD_SHIFT)
        input.KeyDown(WXK_SHIFT);
    if (bDouble)
        input.MouseDblClick();
    else
        input.MouseClick(bRight ? wxMOUSE_BTN_RIGHT : wxMOUSE_BTN_LEFT);
    if (nModifiers & wxMOD_SHIFT)
        input.KeyUp(WXK_SHIFT);
    if (nModifiers & wxMOD_CONTROL)
        input.KeyUp(WXK_CONTROL);
    YieldFor(80);
}

void CMainWindowTest::ClickBelowRows()
{
    wxListCtrl* pList = m_pDlg->m_CookieList;
    wxUIActionSimulator input;
    input.MouseMove(pList->GetScreenRect().GetBottomLeft() + wxPoint(150, -20));
    YieldFor(30);
    input.MouseClick();
    YieldFor(80);
}

void CMainWindowTest::PressKey(int nKey, int nModifiers)
{
    wxUIActionSimulator input;
    input.Char(nKey, nModifiers);
    YieldFor(80);
}
