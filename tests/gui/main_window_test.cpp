#include "main_window_fixture.h"
#include "ui/cookie_list_view.h"
#include "ui/dialog_units.h"
#include "ui/tray_icon.h"

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

using V = std::vector<std::string>;

namespace
{
wxString Label(wxWindow* pWindow)
{
    return pWindow->GetLabel();
}
} // namespace

TEST_F(CMainWindowTest, OpensWithTheTemplateControlsAndAnEmptyList)
{
    m_dir.Write("Location.DAT", ""); // no locations at all
    CCookieDlg& dlg = OpenWindow();

    EXPECT_EQ(dlg.GetTitle(), "Jarvane 1.0");
    EXPECT_TRUE(dlg.HasFlag(wxRESIZE_BORDER));
    EXPECT_TRUE(dlg.HasFlag(wxMINIMIZE_BOX));
    EXPECT_TRUE(dlg.HasFlag(wxMAXIMIZE_BOX));
    EXPECT_EQ(dlg.GetClientSize(), DluToPixels(&dlg, 340, 217));

    // Tab order, ids and texts as the template gives them.
    std::vector<std::pair<int, wxString>> buttons;
    for (wxWindow* pChild : dlg.GetChildren())
        if (auto* pButton = dynamic_cast<wxButton*>(pChild))
        {
            buttons.emplace_back(pButton->GetId(), pButton->GetLabel());
            EXPECT_FALSE(pButton->HasFlag(wxBU_EXACTFIT));
        }
    const std::vector<std::pair<int, wxString>> expected = {
        {1000, "E&xit"},      {1001, "&Delete"},    {1002, "Delete &All"},
        {1004, "&Help"},      {1006, "&Protect"},   {1007, "&Options"},
        {1008, "&Tray Only"}, {1009, "&Locations"}, {1010, "Re&fresh"}};
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(dlg.GetDefaultItem(), nullptr);
    EXPECT_EQ(dlg.m_CookieList->GetId(), 1015);
    EXPECT_EQ(dlg.m_staticCount->GetId(), 1017);
    EXPECT_EQ(dlg.m_frame->GetId(), 1023);

    // The column headings, 45%, 20% and 30% of the list's client width.
    ASSERT_EQ(dlg.m_CookieList->GetColumnCount(), 3);
    const char* const headings[] = {"Cookie", "State", "Browser"};
    for (int i = 0; i < 3; ++i)
    {
        wxListItem column;
        column.SetMask(wxLIST_MASK_TEXT);
        dlg.m_CookieList->GetColumn(i, column);
        EXPECT_EQ(column.GetText(), headings[i]);
    }

    // Empty: count 0, tip filled with 0, only the commands that need no row.
    EXPECT_EQ(dlg.m_CookieList->GetItemCount(), 0);
    EXPECT_EQ(Label(dlg.m_staticCount), "0");
    EXPECT_EQ(dlg.GetTrayIcon()->GetTip(), "Jarvane (0 Cookies)");
    EXPECT_TRUE(dlg.GetTrayIcon()->IsIconInstalled());
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_FALSE(dlg.m_btnDeleteAll->IsEnabled());
    EXPECT_FALSE(dlg.m_btnProtect->IsEnabled());
    EXPECT_TRUE(dlg.m_btnRefresh->IsEnabled());
}

TEST_F(CMainWindowTest, ColumnWidthsAreSetOnceFromTheListWidth)
{
    CCookieDlg& dlg = OpenWindow();
    // The widths were taken from the list's client width at creation.
    const int nWidth = dlg.m_CookieList->GetColumnWidth(0) + dlg.m_CookieList->GetColumnWidth(1) +
                       dlg.m_CookieList->GetColumnWidth(2);
    const int nCookie = dlg.m_CookieList->GetColumnWidth(0);
    EXPECT_GT(nCookie, 0);
    EXPECT_NEAR(dlg.m_CookieList->GetColumnWidth(1), nCookie * 20 / 45, 2);
    EXPECT_NEAR(dlg.m_CookieList->GetColumnWidth(2), nCookie * 30 / 45, 2);

    dlg.SetSize(dlg.GetSize() + wxSize(150, 80));
    YieldFor(150);
    EXPECT_EQ(dlg.m_CookieList->GetColumnWidth(0) + dlg.m_CookieList->GetColumnWidth(1) +
                  dlg.m_CookieList->GetColumnWidth(2),
              nWidth);
}

TEST_F(CMainWindowTest, RefreshShowsUnprotectedRowsAboveProtectedOnesAndSelectsTheFirstByName)
{
    WriteIECookie("b.txt", "b.example.com/");
    WriteIECookie("d.txt", "d.example.com/");
    WriteNSCookies({"a.example.org", "c.example.org"});
    m_dir.Write("IEPROT.DAT", "b.example.com/\r\n");
    m_dir.Write("NSPROT.DAT", "a.example.org\r\n");
    CCookieDlg& dlg = OpenWindow();

    EXPECT_EQ(ShownColumn(COL_STATE), (V{"", "", "Protected", "Protected"}));
    const V names = ShownColumn(COL_COOKIE);
    EXPECT_EQ(V(names.begin(), names.begin() + 2), (V{"c.example.org", "d.example.com/"}));
    EXPECT_EQ(V(names.begin() + 2, names.end()), (V{"a.example.org", "b.example.com/"}));
    EXPECT_EQ(dlg.m_CookieList->GetItemText(FindShownRow("a.example.org"), COL_BROWSER),
              "Netscape Browser");
    EXPECT_EQ(dlg.m_CookieList->GetItemText(FindShownRow("d.example.com/"), COL_BROWSER),
              "Internet Explorer");

    // "a.example.org" came first by name: it stays the one selected, focused row.
    EXPECT_EQ(ShownSelection(), (std::vector<long>{FindShownRow("a.example.org")}));
    EXPECT_EQ(ShownFocus(), FindShownRow("a.example.org"));
    EXPECT_EQ(Label(dlg.m_staticCount), "4");
    EXPECT_EQ(dlg.GetTrayIcon()->GetTip(), "Jarvane (4 Cookies)");
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_TRUE(dlg.m_btnProtect->IsEnabled());
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Unprotect");
}

TEST_F(CMainWindowTest, ClicksInTheListDriveTheButtons)
{
    WriteIECookie("a.txt", "a.example.com/");
    WriteIECookie("b.txt", "b.example.com/");
    WriteIECookie("c.txt", "c.example.com/");
    m_dir.Write("IEPROT.DAT", "c.example.com/\r\n");
    CCookieDlg& dlg = OpenWindow();
    ASSERT_EQ(ShownColumn(COL_COOKIE), (V{"a.example.com/", "b.example.com/", "c.example.com/"}));

    ClickRow(1);
    EXPECT_EQ(ShownSelection(), (std::vector<long>{1}));
    EXPECT_TRUE(dlg.m_btnDelete->IsEnabled());
    EXPECT_TRUE(dlg.m_btnProtect->IsEnabled());
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Protect");

    // A protected row joins: Delete and Protect go grey, the label follows row 1.
    ClickRow(2, wxMOD_CONTROL);
    EXPECT_EQ(ShownSelection(), (std::vector<long>{1, 2}));
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_FALSE(dlg.m_btnProtect->IsEnabled());
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Protect");

    // Only the protected row (a plain click on a row outside the selection).
    ClickRow(0);
    ClickRow(2);
    EXPECT_EQ(ShownSelection(), (std::vector<long>{2}));
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_TRUE(dlg.m_btnProtect->IsEnabled());
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Unprotect");

    // Shift-click selects a range; the whole range reaches the buttons.
    ClickRow(0);
    ClickRow(1, wxMOD_SHIFT);
    EXPECT_EQ(ShownSelection(), (std::vector<long>{0, 1}));
    EXPECT_TRUE(dlg.m_btnDelete->IsEnabled());

    // Clearing the selection keeps the label and greys both.
    ClickRow(2);
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Unprotect");
    ClickBelowRows();
    EXPECT_TRUE(ShownSelection().empty());
    EXPECT_FALSE(dlg.m_btnDelete->IsEnabled());
    EXPECT_FALSE(dlg.m_btnProtect->IsEnabled());
    EXPECT_EQ(Label(dlg.m_btnProtect), "&Unprotect");
    EXPECT_TRUE(dlg.m_btnDeleteAll->IsEnabled());
}
