#include "app_folders_override.h"
#include "fake_location_sources.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "support/temp_dir.h"
#include "ui/find_location_dlg.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/path_chooser.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/button.h>
#include <wx/choicdlg.h>
#include <wx/choice.h>
#include <wx/html/helpdlg.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

namespace
{
std::vector<std::string> ListTexts(const wxListCtrl& list)
{
    std::vector<std::string> texts;
    for (long i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i).utf8_string());
    return texts;
}

int ItemImage(const wxListCtrl& list, long nItem)
{
    wxListItem item;
    item.SetId(nItem);
    item.SetMask(wxLIST_MASK_IMAGE);
    list.GetItem(item);
    return item.GetImage();
}

// The message as shown, with the line breaks of its wrapping taken out.
std::string MessageText(const CFindLocationDlg& dialog)
{
    wxString strText = dialog.m_stMessage->GetLabelText();
    strText.Replace("\n", " ");
    return strText.utf8_string();
}

// Find, and the search's end as the dialog sees it.
void FindAndWait(CFindLocationDlg& dialog)
{
    ClickButton(dialog, IDC_FIND);
    EXPECT_TRUE(YieldUntil([&] { return !dialog.IsSearching(); }, 10000));
}

std::string Unwrapped(std::string strText)
{
    for (char& c : strText)
        if (c == '\n')
            c = ' ';
    return strText;
}

class FindLocationDlgTest : public testing::Test
{
protected:
    FindLocationDlgTest()
        : m_drives({m_dir.MakeDir("drive-b"), m_dir.MakeDir("drive-a")}),
          m_folders(m_dir.MakeDir("work"), m_dir.MakeDir("windows"))
    {
        SetMessageBoxHandler(
            [this](const wxString& strText, const wxString&, long)
            {
                m_messages.push_back(strText.utf8_string());
                return wxOK;
            });
    }
    ~FindLocationDlgTest() override
    {
        SetMessageBoxHandler(nullptr);
        SetPathChooserHandler(nullptr);
    }

    std::string LocationFile() const { return m_dir.File("work/Location.DAT"); }

    static bool HasFocusIn(const wxWindow* pWindow)
    {
        for (const wxWindow* pFocus = wxWindow::FindFocus(); pFocus; pFocus = pFocus->GetParent())
            if (pFocus == pWindow)
                return true;
        return false;
    }

    int Run(std::vector<std::function<void(CFindLocationDlg&)>> steps)
    {
        CModalScript script;
        for (auto& fnStep : steps)
            script.On<CFindLocationDlg>(fnStep);
        CFindLocationDlg dialog(
            nullptr, m_registry, m_drives, GetAppFolders().m_strWindowsFolder,
            [this] { ++m_nBeeps; }, m_strHome);
        const int nResult = dialog.ShowModal();
        EXPECT_EQ(0u, script.GetPendingSteps());
        return nResult;
    }

    CTempDir m_dir;
    CFakeRegistry m_registry;
    CFakeDrives m_drives;
    CAppFoldersOverride m_folders;
    std::vector<std::string> m_messages;
    int m_nBeeps = 0;
    std::string m_strHome = m_dir.File("home");
};
} // namespace

TEST_F(FindLocationDlgTest, FirstRunOpensEmptyAndEscapeWritesNothing)
{
    const int nResult = Run(
        {[](CFindLocationDlg& dialog)
         {
             EXPECT_EQ("Find Cookie Location", dialog.GetTitle());
             EXPECT_EQ(0, dialog.m_lcExplorer->GetItemCount());
             EXPECT_EQ(0, dialog.m_lcNetscape->GetItemCount());
             EXPECT_FALSE(dialog.m_btnOK->IsEnabled());
             EXPECT_EQ("Jarvane will now try to determine where your browser stores its cookies. "
                       "Hit the 'Find' button on the right to start the search.",
                       MessageText(dialog));
             wxListItem column;
             dialog.m_lcExplorer->GetColumn(0, column);
             EXPECT_EQ("Cookie Directory", column.GetText());
             dialog.m_lcNetscape->GetColumn(0, column);
             EXPECT_EQ("Cookie File", column.GetText());
             // The drives are offered sorted, the first one chosen.
             ASSERT_EQ(2u, dialog.m_cbDrive->GetCount());
             EXPECT_LT(dialog.m_cbDrive->GetString(0), dialog.m_cbDrive->GetString(1));
             EXPECT_EQ(0, dialog.m_cbDrive->GetSelection());
             EXPECT_TRUE(dialog.m_btnFind->IsThisEnabled());
             // OK is disabled, so the first list is the first control that takes the focus.
             EXPECT_TRUE(HasFocusIn(dialog.m_lcExplorer));
             PressEscape(dialog);
         }});
    EXPECT_EQ(wxID_CANCEL, nResult);
    EXPECT_FALSE(FileExists(LocationFile()));
    EXPECT_EQ(0, m_nBeeps);
}

TEST_F(FindLocationDlgTest, RememberedLocationsAreShownInInsertionOrderAndOkSavesThem)
{
    m_dir.Write("work/Location.DAT", "[IE]\r\nLocation 1=A\r\nLocation 2=B\r\nLocation 3=C\r\n"
                                     "Location 4=b\r\n[NS]\r\nLocation 1=/gone/cookies.txt\r\n");
    const int nResult = Run(
        {[](CFindLocationDlg& dialog)
         {
             EXPECT_EQ((std::vector<std::string>{"A", "C", "B"}), ListTexts(*dialog.m_lcExplorer));
             EXPECT_EQ((std::vector<std::string>{"/gone/cookies.txt"}),
                       ListTexts(*dialog.m_lcNetscape));
             EXPECT_EQ(0, ItemImage(*dialog.m_lcExplorer, 0));
             EXPECT_EQ(1, ItemImage(*dialog.m_lcNetscape, 0));
             EXPECT_TRUE(dialog.m_btnOK->IsEnabled());
             EXPECT_TRUE(HasFocusIn(dialog.m_btnOK)); // the first control in tab order
             ClickButton(dialog, IDC_FIND_OK);
         }});
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("[IE]\r\nLocation 1=A\r\nLocation 2=C\r\nLocation 3=B\r\n[NS]\r\n"
              "Location 1=/gone/cookies.txt\r\n",
              ReadWholeFile(LocationFile()));
}

TEST_F(FindLocationDlgTest, FindShowsWhatItFoundAndOkSavesOnlyThat)
{
    m_dir.Write("work/Location.DAT", "[NS]\r\nLocation 1=" + m_dir.File("old.txt") + "\r\n");
    m_dir.Write("old.txt", "still here");
    const std::string strCookies = m_dir.MakeDir("profile/Cookies");
    m_registry.Set(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strCookies);
    const int nResult =
        Run({[&](CFindLocationDlg& dialog)
             {
                 FindAndWait(dialog);
                 EXPECT_EQ(1, m_nBeeps);
                 EXPECT_EQ(std::vector<std::string>{strCookies}, ListTexts(*dialog.m_lcExplorer));
                 // Neither the registry nor the drive knows a Netscape file: the remembered one
                 // goes.
                 EXPECT_EQ(0, dialog.m_lcNetscape->GetItemCount());
                 EXPECT_TRUE(dialog.m_btnOK->IsEnabled());
                 EXPECT_EQ(Unwrapped(FIND_FOUND_MESSAGE), MessageText(dialog));
                 ClickButton(dialog, IDC_FIND_OK);
             }});
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("[IE]\r\nLocation 1=" + strCookies + "\r\n", ReadWholeFile(LocationFile()));
}

TEST_F(FindLocationDlgTest, TheDatabaseListShowsTheProfilesFoundAndOkSavesThemLast)
{
    m_dir.Write("work/Location.DAT", "[CR]\r\nLocation 1=/remembered/Cookies\r\n");
    const std::string strHome = m_dir.File("home");
    std::filesystem::copy(JARVANE_BROWSER_FIXTURES "/home", strHome,
                          std::filesystem::copy_options::recursive);
    const std::string strFirefox =
        strHome + "/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite";
    const std::string strChromium = strHome + "/.config/chromium/Default/Cookies";
    const std::string strEpiphany = strHome + "/.local/share/epiphany/cookies.sqlite";
    const int nResult =
        Run({[&](CFindLocationDlg& dialog)
             {
                 EXPECT_EQ(std::vector<std::string>{"/remembered/Cookies"},
                           ListTexts(*dialog.m_lcDatabases));
                 EXPECT_TRUE(dialog.m_btnOK->IsEnabled());
                 FindAndWait(dialog);
                 EXPECT_EQ((std::vector<std::string>{strFirefox, strChromium, strEpiphany}),
                           ListTexts(*dialog.m_lcDatabases));
                 EXPECT_EQ("Chromium", dialog.m_lcDatabases->GetItemText(1, 1));
                 EXPECT_EQ("GNOME Web", dialog.m_lcDatabases->GetItemText(2, 1));
                 EXPECT_EQ(0, dialog.m_lcExplorer->GetItemCount());
                 EXPECT_EQ(Unwrapped(FIND_FOUND_MESSAGE), MessageText(dialog));
                 // The list sits inside the dialog, below the others.
                 const wxRect rcList = dialog.m_lcDatabases->GetRect();
                 EXPECT_TRUE(wxRect(dialog.GetClientSize()).Contains(rcList));
                 EXPECT_GT(rcList.GetTop(), dialog.m_lcNetscape->GetRect().GetBottom());
                 ClickButton(dialog, IDC_FIND_OK);
             }});
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("[FF]\r\nLocation 1=" + strFirefox + "\r\n[CR]\r\nLocation 1=" + strChromium +
                  "\r\n[EP]\r\nLocation 1=" + strEpiphany + "\r\n",
              ReadWholeFile(LocationFile()));
}

TEST_F(FindLocationDlgTest, AFindOnTheChosenDriveCanFollowOneThatFoundNothing)
{
    // Sorted, drive-a comes first and is empty; drive-b holds a cookie file.
    const std::string strFile = m_dir.Write("drive-b/deep/folder/cookies.txt", "");
    const int nResult =
        Run({[&](CFindLocationDlg& dialog)
             {
                 FindAndWait(dialog);
                 EXPECT_FALSE(dialog.m_btnOK->IsEnabled());
                 EXPECT_EQ(FIND_NOT_FOUND_MESSAGE, MessageText(dialog));

                 dialog.m_cbDrive->SetSelection(1);
                 wxCommandEvent choose(wxEVT_CHOICE, IDC_DRIVE);
                 choose.SetInt(1);
                 choose.SetEventObject(dialog.m_cbDrive);
                 dialog.m_cbDrive->ProcessWindowEvent(choose);
                 FindAndWait(dialog);
                 EXPECT_EQ(2, m_nBeeps);
                 EXPECT_EQ(std::vector<std::string>{strFile}, ListTexts(*dialog.m_lcNetscape));
                 EXPECT_EQ(Unwrapped(FIND_FOUND_MESSAGE), MessageText(dialog));
                 dialog.Close();
             }});
    EXPECT_EQ(wxID_CANCEL, nResult);
    EXPECT_FALSE(FileExists(LocationFile()));
}

TEST_F(FindLocationDlgTest, HelpWithoutABookSaysSoAndTheDialogStaysOpen)
{
    if (!FindHelpBook().empty())
        GTEST_SKIP() << "an installed help book exists: " << FindHelpBook();
    const int nResult =
        Run({[this](CFindLocationDlg& dialog)
             {
                 ClickButton(dialog, IDC_FIND_HELP);
                 ASSERT_EQ(1u, m_messages.size());
                 EXPECT_NE(std::string::npos, m_messages[0].find("help book could not be opened"));
                 EXPECT_TRUE(dialog.IsModal());
                 PressEscape(dialog);
             }});
    EXPECT_EQ(wxID_CANCEL, nResult);
}

TEST_F(FindLocationDlgTest, HelpOpensTheBookAtItsContentsAndReturnsToTheDialog)
{
    m_dir.Write("work/help/Jarvane.hhp", "[OPTIONS]\r\nContents file=toc.hhc\r\nDefault "
                                         "topic=index.html\r\nTitle=Test Book\r\n\r\n[FILES]\r\n"
                                         "index.html\r\n");
    m_dir.Write("work/help/toc.hhc",
                "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Start\">"
                "<param name=\"Local\" value=\"index.html\"></object></ul>");
    m_dir.Write("work/help/index.html", "<html><title>Start</title><body>Hello</body></html>");

    CModalScript helpScript;
    bool bHelpShown = false;
    helpScript.On<wxHtmlHelpDialog>(
        [&](wxHtmlHelpDialog& help)
        {
            bHelpShown = true;
            wxHtmlWindow* pPage = help.GetHelpWindow()->GetHtmlWindow();
            EXPECT_TRUE(pPage->GetOpenedPage().EndsWith("index.html")) << pPage->GetOpenedPage();
            help.Close();
        });
    const int nResult = Run({[](CFindLocationDlg& dialog)
                             {
                                 ClickButton(dialog, IDC_FIND_HELP);
                                 EXPECT_TRUE(dialog.IsModal());
                                 PressEscape(dialog);
                             }});
    EXPECT_TRUE(bHelpShown);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(wxID_CANCEL, nResult);
}

TEST_F(FindLocationDlgTest, FindListsTheJarsOfTheHomeAndStopsWhenAskedKeepingThem)
{
    // The home lies on the first drive, beside another checkout's jar; below
    // its jars a tree large enough to stop a search in.
    m_strHome = m_dir.MakeDir("drive-a/home");
    m_dir.Write("drive-a/a-checkout/cookies.txt", "");
    const std::vector<std::string> jars = {
        m_dir.Write("drive-a/home/.config/yt-dlp/cookies.txt", ""),
        m_dir.Write("drive-a/home/Downloads/cookies.txt", "")};
    std::vector<std::string> folders = {m_dir.MakeDir("drive-a/home/tree")};
    for (size_t nLevel = 0, nFirst = 0; nLevel < 3; ++nLevel)
    {
        const size_t nEnd = folders.size();
        for (size_t i = nFirst; i < nEnd; ++i)
            for (int j = 0; j < 20; ++j)
            {
                folders.push_back(folders[i] + "/" + std::to_string(j));
                ASSERT_EQ(0, mkdir(folders.back().c_str(), 0755));
            }
        nFirst = nEnd;
    }
    auto waitForTheTree = [this](CFindLocationDlg& dialog)
    {
        const std::string strTree = m_strHome + "/tree/";
        EXPECT_TRUE(YieldUntil(
            [&] {
                return dialog.m_stProgress->GetLabel().utf8_string().find(strTree) !=
                       std::string::npos;
            }));
        EXPECT_TRUE(dialog.IsSearching());
    };
    const int nResult = Run({[&](CFindLocationDlg& dialog)
                             {
                                 ClickButton(dialog, IDC_FIND);
                                 waitForTheTree(dialog);
                                 EXPECT_EQ("&Stop", dialog.m_btnFind->GetLabel());
                                 EXPECT_FALSE(dialog.m_btnAdd->IsEnabled());
                                 const wxLongLong nStart = wxGetLocalTimeMillis();
                                 ClickButton(dialog, IDC_FIND);
                                 EXPECT_FALSE(dialog.IsSearching());
                                 EXPECT_LE(wxGetLocalTimeMillis() - nStart, 200);
                                 EXPECT_EQ(jars, ListTexts(*dialog.m_lcNetscape));
                                 EXPECT_EQ("&Find", dialog.m_btnFind->GetLabel());
                                 EXPECT_EQ("", dialog.m_stProgress->GetLabel());
                                 EXPECT_EQ(Unwrapped(FIND_FOUND_MESSAGE), MessageText(dialog));
                                 EXPECT_EQ(1, m_nBeeps);

                                 // Escape stops a search first; only a second one closes the
                                 // dialog.
                                 ClickButton(dialog, IDC_FIND);
                                 waitForTheTree(dialog);
                                 PressEscape(dialog);
                                 EXPECT_FALSE(dialog.IsSearching());
                                 EXPECT_TRUE(dialog.IsModal());
                                 EXPECT_EQ(jars, ListTexts(*dialog.m_lcNetscape));

                                 // OK does not wait for a search: it saves what was found so far.
                                 ClickButton(dialog, IDC_FIND);
                                 waitForTheTree(dialog);
                                 ClickButton(dialog, IDC_FIND_OK);
                             }});
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("[NS]\r\nLocation 1=" + jars[0] + "\r\nLocation 2=" + jars[1] + "\r\n",
              ReadWholeFile(LocationFile()));
}

TEST_F(FindLocationDlgTest, AddTellsTheKindFromTheContentAndRemoveTakesTheSelection)
{
    const std::string strRoot = JARVANE_SOURCE_ROOT;
    const std::string strCurl = strRoot + "/tests/core/jars/curl.txt";
    const std::string strWget = strRoot + "/tests/core/jars/wget.txt";
    const std::string strExplorer = strRoot + "/samples/ie";
    const std::string strFirefox =
        JARVANE_BROWSER_FIXTURES "/home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite";
    const std::string strChromium =
        JARVANE_BROWSER_FIXTURES "/home/.config/chromium/Default/Cookies";
    std::vector<std::pair<EPathKind, std::string>> chosen = {
        {EPathKind::File, strCurl},
        {EPathKind::Folder, strExplorer},
        {EPathKind::File, strRoot + "/README.md"}};
    SetPathChooserHandler(
        [&](EPathKind kind, const wxString&)
        {
            EXPECT_EQ(chosen.front().first, kind);
            const std::string strPath = chosen.front().second;
            chosen.erase(chosen.begin());
            return strPath;
        });
    CModalScript choices;
    for (int nChoice : {0, 1, 0})
        choices.On<wxSingleChoiceDialog>(
            [nChoice](wxSingleChoiceDialog& choice)
            {
                choice.SetSelection(nChoice);
                ClickButton(choice, wxID_OK);
            });
    auto select = [](wxListCtrl* pList, long nRow)
    { pList->SetItemState(nRow, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED); };
    const int nResult =
        Run({[&](CFindLocationDlg& dialog)
             {
                 ClickButton(dialog, IDC_FIND_ADD);
                 ClickButton(dialog, IDC_FIND_ADD);
                 EXPECT_TRUE(dialog.AddLocation(strWget));
                 EXPECT_TRUE(dialog.AddLocation(strFirefox));
                 EXPECT_TRUE(dialog.AddLocation(strChromium));
                 EXPECT_EQ((std::vector<std::string>{strCurl, strWget}),
                           ListTexts(*dialog.m_lcNetscape));
                 EXPECT_EQ(std::vector<std::string>{strExplorer}, ListTexts(*dialog.m_lcExplorer));
                 EXPECT_EQ((std::vector<std::string>{strFirefox, strChromium}),
                           ListTexts(*dialog.m_lcDatabases));
                 EXPECT_EQ("Firefox", dialog.m_lcDatabases->GetItemText(0, 1));
                 EXPECT_TRUE(dialog.m_btnOK->IsEnabled());

                 ClickButton(dialog, IDC_FIND_ADD); // a file that is no cookie store
                 ASSERT_EQ(1u, m_messages.size());
                 EXPECT_NE(std::string::npos, m_messages[0].find("README.md"));
                 EXPECT_NE(std::string::npos, m_messages[0].find("not a cookie file"));
                 EXPECT_EQ(2, dialog.m_lcNetscape->GetItemCount());

                 EXPECT_FALSE(dialog.m_btnRemove->IsEnabled());
                 select(dialog.m_lcExplorer, 0);
                 select(dialog.m_lcDatabases, 0);
                 ClickButton(dialog, IDC_FIND_REMOVE);
                 EXPECT_EQ(0, dialog.m_lcExplorer->GetItemCount());
                 EXPECT_EQ(std::vector<std::string>{strChromium}, ListTexts(*dialog.m_lcDatabases));
                 // The Delete key in a list removes its selection too.
                 select(dialog.m_lcNetscape, 0);
                 wxListEvent key(wxEVT_LIST_KEY_DOWN, IDC_NETSCAPE_LIST);
                 key.SetKeyCode(WXK_DELETE);
                 key.SetEventObject(dialog.m_lcNetscape);
                 dialog.m_lcNetscape->ProcessWindowEvent(key);
                 EXPECT_EQ(std::vector<std::string>{strWget}, ListTexts(*dialog.m_lcNetscape));
                 ClickButton(dialog, IDC_FIND_OK);
             }});
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ(0u, choices.GetPendingSteps());
    EXPECT_EQ("[NS]\r\nLocation 1=" + strWget + "\r\n[CR]\r\nLocation 1=" + strChromium + "\r\n",
              ReadWholeFile(LocationFile()));
}
