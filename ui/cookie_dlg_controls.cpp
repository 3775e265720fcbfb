// The main window's controls, as its template places them, and the table of
// what their events call.
#include "res/resources.h"
#include "ui/cookie_dlg.h"
#include "ui/cookie_list_view.h"
#include "ui/dialog_units.h"
#include "ui/site_commands.h"

#include <wx/button.h>
#include <wx/generic/statbmpg.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

namespace
{
const char* const ABOUT_MENU_TEXT = "&About Jarvane..."; // string 101
// Window managers keep Alt+Space for their own window menu; Ctrl+F1 is free.
const char* const ABOUT_SHORTCUT = "Ctrl+F1";
} // namespace

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
        wxEVT_TIMER, [this](wxTimerEvent&) { OnAutoDeleteTimer(); }, AUTO_DELETE_TIMER_ID);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { FollowNotificationArea(); }, TRAY_WATCH_TIMER_ID);
    m_CookieList->SetUserSelectionHandler([this] { OnItemChanged(); });
    m_CookieList->Bind(wxEVT_LIST_COL_CLICK, &CCookieDlg::OnColumnClick, this);
    m_CookieList->Bind(wxEVT_CONTEXT_MENU, &CCookieDlg::OnListRightClick, this);
    m_pLogo->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) { OnSysCommand(ID_SYS_ABOUT); });
}
