#include "app/gui/startup.h"
#include "app_folders_override.h"
#include "fake_location_sources.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "source_root.h"
#include "support/temp_dir.h"
#include "ui/cookie_dlg.h"
#include "ui/find_location_dlg.h"
#include "ui/message_box.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

namespace fs = std::filesystem;

namespace
{
struct CShownMessage
{
    std::string strText;
    std::string strCaption;
    long nStyle;
};

// Start-up in a fresh folder made current, as a desktop shortcut would start it.
class StartupTest : public testing::Test
{
protected:
    StartupTest() : m_folders(std::string()), m_strOldFolder(fs::current_path().string())
    {
        fs::current_path(m_dir.Path());
        SetMessageBoxHandler(
            [this](const wxString& strText, const wxString& strCaption, long nStyle)
            {
                m_messages.push_back({strText.utf8_string(), strCaption.utf8_string(), nStyle});
                return wxOK;
            });
    }
    ~StartupTest() override
    {
        SetMessageBoxHandler(nullptr);
        fs::current_path(m_strOldFolder);
    }

    // A cookie folder holding the first nCount sample Internet Explorer cookies.
    std::string MakeCookieFolder(const std::string& strName, size_t nCount)
    {
        const std::string strFolder = m_dir.MakeDir(strName);
        std::vector<fs::path> samples;
        for (const auto& entry : fs::directory_iterator(SourceRoot() + "/samples/ie"))
            samples.push_back(entry.path());
        std::sort(samples.begin(), samples.end());
        for (size_t i = 0; i < nCount && i < samples.size(); ++i)
            fs::copy_file(samples[i], fs::path(strFolder) / samples[i].filename());
        return strFolder;
    }

    void WriteLocations(const std::string& strIEFolder)
    {
        m_dir.Write("Location.DAT", "[IE]\r\nLocation 1=" + strIEFolder + "\r\n");
    }

    EStartupEnd Run(CModalScript& script)
    {
        const EStartupEnd end = RunStartupSequence(
            [this]
            {
                ++m_nFindDialogs;
                CFindLocationDlg dialog(nullptr, m_registry, m_drives, std::string(), [] {});
                return dialog.ShowModal();
            });
        EXPECT_EQ(0u, script.GetPendingSteps());
        return end;
    }

    CTempDir m_dir;
    CAppFoldersOverride m_folders;
    std::string m_strOldFolder;
    CFakeRegistry m_registry;
    CFakeDrives m_drives{{}};
    std::vector<CShownMessage> m_messages;
    int m_nFindDialogs = 0;
};

std::string CountShown(const CCookieDlg& window)
{
    return window.m_staticCount->GetLabelText().utf8_string();
}
} // namespace

TEST_F(StartupTest, FirstRunAsksForLocationsAndEscapeEndsWithoutAFile)
{
    CModalScript script;
    script.On<CFindLocationDlg>([](CFindLocationDlg& dialog) { PressEscape(dialog); });
    EXPECT_EQ(EStartupEnd::FindCancelled, Run(script));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(1, m_nFindDialogs);
    EXPECT_TRUE(fs::is_empty(m_dir.Path())) << "start-up wrote a file";
    EXPECT_EQ(m_dir.Path(), GetAppFolders().m_strCurrentFolder);
}

TEST_F(StartupTest, FirstRunFindAndOkSaveTheLocationsAndOpenTheMainWindow)
{
    const std::string strCookies = MakeCookieFolder("Cookies", 2);
    m_registry.Set(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strCookies);
    CModalScript script;
    script
        .On<CFindLocationDlg>(
            [](CFindLocationDlg& dialog)
            {
                ClickButton(dialog, IDC_FIND);
                YieldUntil([&] { return !dialog.IsSearching(); }, 10000);
                ClickButton(dialog, IDC_FIND_OK);
            })
        .On<CCookieDlg>(
            [](CCookieDlg& window)
            {
                EXPECT_EQ(&window, wxTheApp->GetTopWindow());
                EXPECT_EQ("2", CountShown(window));
                ClickButton(window, IDC_EXIT);
            });
    EXPECT_EQ(EStartupEnd::MainWindowClosed, Run(script));
    EXPECT_EQ("[IE]\r\nLocation 1=" + strCookies + "\r\n",
              ReadWholeFile(m_dir.File("Location.DAT")));
}

TEST_F(StartupTest, AVanishedLocationIsNamedAndThenListedInTheFindDialog)
{
    const std::string strGone = m_dir.File("gone");
    WriteLocations(strGone);
    CModalScript script;
    script.On<CFindLocationDlg>(
        [&](CFindLocationDlg& dialog)
        {
            ASSERT_EQ(1u, m_messages.size()) << "the message comes before the dialog";
            ASSERT_EQ(1, dialog.m_lcExplorer->GetItemCount());
            EXPECT_EQ(strGone, dialog.m_lcExplorer->GetItemText(0).utf8_string());
            EXPECT_TRUE(dialog.m_btnOK->IsEnabled());
            dialog.Close();
        });
    EXPECT_EQ(EStartupEnd::FindCancelled, Run(script));
    ASSERT_EQ(1u, m_messages.size());
    EXPECT_EQ("Jarvane is setup to search Internet Explorer Cookies in " + strGone +
                  ".\n\nThis directory does not exist. Jarvane will now help you find where "
                  "these cookies hide.",
              m_messages[0].strText);
    EXPECT_EQ(wxTheApp->GetAppName().utf8_string(), m_messages[0].strCaption);
    EXPECT_EQ(wxOK | wxICON_NONE, m_messages[0].nStyle); // an OK button, no icon
}

TEST_F(StartupTest, ValidLocationsOpenTheMainWindowDirectly)
{
    WriteLocations(MakeCookieFolder("Cookies", 1));
    CModalScript script;
    script.On<CCookieDlg>(
        [](CCookieDlg& window)
        {
            EXPECT_EQ("1", CountShown(window));
            window.Close();
        });
    EXPECT_EQ(EStartupEnd::MainWindowClosed, Run(script));
    EXPECT_EQ(0, m_nFindDialogs);
    EXPECT_TRUE(m_messages.empty());
}

// The Locations command runs the dialog on this system's registry and drives;
// the steps only accept or cancel what the dialog shows, without a search.
TEST_F(StartupTest, TheLocationsCommandReloadsOnlyWhenAccepted)
{
    WriteLocations(MakeCookieFolder("one", 1));
    const std::string strTwo = MakeCookieFolder("two", 2);
    CModalScript script;
    script
        .On<CCookieDlg>(
            [&](CCookieDlg& window)
            {
                EXPECT_EQ("1", CountShown(window));
                // The file now names another folder; a cancelled dialog changes nothing.
                WriteLocations(strTwo);
                window.OnLocations();
                window.OnRefresh();
                EXPECT_EQ("1", CountShown(window));
                EXPECT_EQ(1u, script.GetPendingSteps());
                window.OnLocations();
                EXPECT_EQ("2", CountShown(window));
                ClickButton(window, IDC_EXIT);
            })
        .On<CFindLocationDlg>([](CFindLocationDlg& dialog) { PressEscape(dialog); })
        .On<CFindLocationDlg>(
            [&](CFindLocationDlg& dialog)
            {
                EXPECT_EQ(strTwo, dialog.m_lcExplorer->GetItemText(0).utf8_string());
                ClickButton(dialog, IDC_FIND_OK);
            });
    EXPECT_EQ(EStartupEnd::MainWindowClosed, Run(script));
    EXPECT_EQ("[IE]\r\nLocation 1=" + strTwo + "\r\n", ReadWholeFile(m_dir.File("Location.DAT")));
}

// The desktop session's end cancels the dialog open above the main window and
// ends the main window as Exit does, which writes the protection lists.
TEST_F(StartupTest, TheSessionsEndEndsTheProgramAsExitDoes)
{
    WriteLocations(MakeCookieFolder("Cookies", 1));
    CModalScript script;
    script.On<CCookieDlg>([](CCookieDlg& window) { window.OnLocations(); })
        .On<CFindLocationDlg>(
            [](CFindLocationDlg&)
            {
                wxCloseEvent sessionEnd(wxEVT_END_SESSION);
                wxTheApp->ProcessEvent(sessionEnd);
            });
    EXPECT_EQ(EStartupEnd::MainWindowClosed, Run(script));
    EXPECT_TRUE(FileExists(m_dir.File("IEPROT.DAT"))) << "the lists were not written";
}
