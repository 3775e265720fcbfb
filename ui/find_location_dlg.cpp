#include "ui/find_location_dlg.h"

#include "app/app_folders.h"
#include "inventory/cookie.h"
#include "locations/identify_store.h"
#include "locations/location_file.h"
#include "platform/browser_homes.h"
#include "res/resources.h"
#include "ui/dialog_units.h"
#include "ui/display_text.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/path_chooser.h"

#include <wx/button.h>
#include <wx/choicdlg.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace
{
#define FIND_SEARCHING_TEXT "Searching "
#define ADD_QUESTION "What do you want to add?"
#define ADD_FOLDER_CHOICE "An Internet Explorer cookie folder"

// The names of the Database kinds: "Firefox, Chromium" or, with bLastAnd,
// "Firefox and Chromium".
std::string DatabaseBrowserNames(bool bLastAnd)
{
    std::vector<const char*> names;
    for (const CStoreKind& kind : StoreKinds())
        if (kind.shape == EStoreShape::Database)
            names.push_back(kind.pszBrowserName);
    std::string strNames;
    for (size_t i = 0; i < names.size(); ++i)
        strNames += std::string(i == 0                              ? ""
                                : bLastAnd && i + 1 == names.size() ? " and "
                                                                    : ", ") +
                    names[i];
    return strNames;
}

// Rows of a list that are selected, in list order.
std::vector<long> SelectedRows(const wxListCtrl* pList)
{
    std::vector<long> rows;
    for (long nRow = pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); nRow != -1;
         nRow = pList->GetNextItem(nRow, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(nRow);
    return rows;
}
} // namespace

CFindLocationDlg::CFindLocationDlg(wxWindow* pParent)
    : CFindLocationDlg(
          pParent, GetSystemRegistry(), GetSystemDrives(), GetAppFolders().m_strWindowsFolder,
          [] { wxBell(); }, GetHomeFolder())
{
}

CFindLocationDlg::CFindLocationDlg(wxWindow* pParent, const IRegistry& registry,
                                   const IDriveSource& drives, std::string strWindowsFolder,
                                   std::function<void()> fnBeep, std::string strHomeFolder)
    : wxDialog(pParent, wxID_ANY, "Find Cookie Location", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_imageList(16, 16, true, 2), m_discovery(registry, drives, std::move(strWindowsFolder),
                                                std::move(fnBeep), std::move(strHomeFolder))
{
    // With no Cancel button, wx would let Escape press an affirmative button or
    // nothing at all: here it only ends the dialog, as the close box does.
    SetAffirmativeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK,
         [this](wxKeyEvent& event)
         {
             if (event.GetKeyCode() != WXK_ESCAPE)
                 event.Skip();
             else if (IsSearching())
                 EndSearch();
             else
                 EndModal(wxID_CANCEL);
         });
    // The template's size, grown downwards for the database list and the search's progress.
    SetClientSize(DluToPixels(this, 280, 290));
    CreateControls();

    m_imageList.Add(LoadResourceBitmap(IDB_IE_FOLDER), *wxWHITE);
    m_imageList.Add(LoadResourceBitmap(IDB_NS_FILE), *wxWHITE);
    m_lcExplorer->SetImageList(&m_imageList, wxIMAGE_LIST_SMALL);
    m_lcNetscape->SetImageList(&m_imageList, wxIMAGE_LIST_SMALL);
    m_lcDatabases->SetImageList(&m_imageList, wxIMAGE_LIST_SMALL);

    LoadSavedLocations();
    UpdateOkButton();
    m_discovery.FillDriveList();
    ShowDrives();

    // As a dialog does, the focus goes to the first control in tab order that
    // takes it: OK when remembered locations enabled it, else the first list.
    if (m_btnOK->IsEnabled())
        m_btnOK->SetFocus();
    else
        m_lcExplorer->SetFocus();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnFind(); }, IDC_FIND);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOkButton(); }, IDC_FIND_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnHelp(); }, IDC_FIND_HELP);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdd(); }, IDC_FIND_ADD);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemove(); }, IDC_FIND_REMOVE);
    for (wxListCtrl* pList : {m_lcExplorer, m_lcNetscape, m_lcDatabases})
    {
        pList->Bind(wxEVT_LIST_KEY_DOWN,
                    [this](wxListEvent& event)
                    {
                        const int nKey = event.GetKeyCode();
                        if ((nKey == WXK_DELETE || nKey == WXK_NUMPAD_DELETE) && !IsSearching())
                            OnRemove();
                        else
                            event.Skip();
                    });
        pList->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateRemoveButton(); });
        pList->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateRemoveButton(); });
    }
    Bind(
        wxEVT_CHOICE,
        [this](wxCommandEvent&)
        { m_discovery.m_driveChoice.m_nSelected = m_cbDrive->GetSelection(); },
        IDC_DRIVE);
    CentreOnScreen();
}

CFindLocationDlg::~CFindLocationDlg()
{
    // The search's thread posts to this window: it ends before the window goes.
    m_search.Stop();
    // The lists outlive this object's members; they must not keep the image list.
    m_lcExplorer->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    m_lcNetscape->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    m_lcDatabases->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

// Controls are made in the template's order, which is also the tab order.
void CFindLocationDlg::CreateControls()
{
    m_btnOK = new wxButton(this, IDC_FIND_OK, "&OK");
    PlaceInDialogUnits(m_btnOK, {235, 32, 39, 14});
    m_btnOK->Disable();

    auto* pFrame = new wxStaticBox(this, wxID_ANY, " Cookie Locations ");
    PlaceInDialogUnits(pFrame, {0, 0, 279, 289}, EDluHeight::Exact);

    CreateTemplateText(this, "Internet Explorer Cookie Location", {23, 43, 108, 8});
    m_lcExplorer = CreateLocationList(IDC_EXPLORER_LIST, {9, 52, 223, 56}, "Cookie Directory");
    CreateTemplateText(this, "Netscape Cookie Location", {23, 118, 86, 8});
    m_lcNetscape = CreateLocationList(IDC_NETSCAPE_LIST, {9, 127, 223, 56}, "Cookie File");

    m_stMessage = CreateTemplateText(this,
                                     "Jarvane will now try to determine where your browser stores "
                                     "its cookies. Hit the 'Find' button on the right to start "
                                     "the search.",
                                     {10, 13, 172, 25}, IDC_FIND_MESSAGE);

    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceBitmap(IDB_IE_EMBLEM)),
                       {10, 41, 11, 10}, EDluHeight::Exact);

    m_btnFind = new wxButton(this, IDC_FIND, "&Find");
    PlaceInDialogUnits(m_btnFind, {235, 15, 39, 14});
    m_btnFind->SetDefault();

    PlaceInDialogUnits(new wxStaticBitmap(this, wxID_ANY, LoadResourceBitmap(IDB_NS_EMBLEM)),
                       {10, 116, 11, 10}, EDluHeight::Exact);

    CreateTemplateText(this, "Netscape Drive:", {126, 118, 51, 8});
    m_cbDrive = new wxChoice(this, IDC_DRIVE);
    PlaceInDialogUnits(m_cbDrive, {179, 113, 52, 14});

    auto* pHelp = new wxButton(this, IDC_FIND_HELP, "&Help");
    PlaceInDialogUnits(pHelp, {235, 52, 39, 14});
    m_btnAdd = new wxButton(this, IDC_FIND_ADD, "&Add...");
    PlaceInDialogUnits(m_btnAdd, {235, 69, 39, 14});
    m_btnRemove = new wxButton(this, IDC_FIND_REMOVE, "&Remove");
    PlaceInDialogUnits(m_btnRemove, {235, 86, 39, 14});
    m_btnRemove->Disable();

    CreateTemplateText(this,
                       "If you have a Netscape browser you might need to change the drive where "
                       "Jarvane searches.",
                       {10, 184, 212, 20});

    CreateTemplateText(this, DatabaseBrowserNames(true) + " Cookie Databases", {10, 208, 222, 8});
    m_lcDatabases = CreateLocationList(IDC_DATABASE_LIST, {9, 218, 223, 56}, "Cookie Database");
    const int nBrowserWidth = DluToPixels(this, 50, 0).x;
    m_lcDatabases->SetColumnWidth(0, m_lcDatabases->GetClientSize().x - nBrowserWidth);
    m_lcDatabases->AppendColumn("Browser", wxLIST_FORMAT_LEFT, nBrowserWidth);

    m_stProgress = new wxStaticText(this, IDC_FIND_PROGRESS, wxEmptyString, wxDefaultPosition,
                                    wxDefaultSize, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
    PlaceInDialogUnits(m_stProgress, {10, 278, 264, 8});
}

wxListCtrl* CFindLocationDlg::CreateLocationList(int nId, const CDluRect& rect,
                                                 const char* pHeading)
{
    auto* pList =
        new wxListCtrl(this, nId, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxBORDER_SUNKEN);
    PlaceInDialogUnits(pList, rect, EDluHeight::Exact);
    pList->AppendColumn(pHeading, wxLIST_FORMAT_LEFT, pList->GetClientSize().x);
    return pList;
}

void CFindLocationDlg::LoadSavedLocations()
{
    const std::string strFile = GetAppFolders().GetLocationFilePath();
    for (const CStoreKind& kind : StoreKinds())
        ReadLocationSection(strFile, kind.pszLocationSection,
                            [this, &kind](const std::string& strPath)
                            { m_discovery.AddLocation(kind.browser, strPath); });
    ShowLocations();
}

void CFindLocationDlg::UpdateOkButton()
{
    m_btnOK->Enable(m_lcExplorer->GetItemCount() > 0 || m_lcNetscape->GetItemCount() > 0 ||
                    m_lcDatabases->GetItemCount() > 0);
}

void CFindLocationDlg::UpdateMessage()
{
    SetTemplateText(m_stMessage,
                    m_btnOK->IsEnabled() ? FIND_FOUND_MESSAGE : FIND_NOT_FOUND_MESSAGE);
}

void CFindLocationDlg::UpdateRemoveButton()
{
    m_btnRemove->Enable(!IsSearching() && (m_lcExplorer->GetSelectedItemCount() > 0 ||
                                           m_lcNetscape->GetSelectedItemCount() > 0 ||
                                           m_lcDatabases->GetSelectedItemCount() > 0));
}

void CFindLocationDlg::ShowLocations()
{
    ShowLists(m_discovery.m_found);
}

wxListCtrl* CFindLocationDlg::ListOf(EStoreShape shape) const
{
    switch (shape)
    {
    case EStoreShape::Folder:
        return m_lcExplorer;
    case EStoreShape::TextFile:
        return m_lcNetscape;
    default:
        return m_lcDatabases;
    }
}

// Each list shows the locations of the kinds of its shape, in table order; the
// database list names each one's browser.
void CFindLocationDlg::ShowLists(const CFoundLocations& found)
{
    for (wxListCtrl* pList : {m_lcExplorer, m_lcNetscape, m_lcDatabases})
        pList->DeleteAllItems();
    for (const CStoreKind& kind : StoreKinds())
    {
        wxListCtrl* pList = ListOf(kind.shape);
        for (const std::string& strPath : found[BrowserIndex(kind.browser)].GetItems())
        {
            const long nRow = pList->GetItemCount();
            pList->InsertItem(nRow, ToDisplayText(strPath), kind.nFindImage);
            if (pList == m_lcDatabases)
                pList->SetItem(nRow, 1, kind.pszBrowserName);
        }
    }
}

void CFindLocationDlg::ShowDrives()
{
    m_cbDrive->Clear();
    for (const std::string& strDrive : m_discovery.m_driveChoice.m_names)
        m_cbDrive->Append(ToDisplayText(strDrive));
    m_cbDrive->SetSelection(m_discovery.m_driveChoice.m_nSelected);
}

void CFindLocationDlg::OnFind()
{
    if (IsSearching())
        EndSearch();
    else
        StartSearch();
}

void CFindLocationDlg::StartSearch()
{
    // Each run starts from empty lists.
    ShowLists(CFoundLocations());
    UpdateOkButton();
    m_btnFind->SetLabel("&Stop");
    m_btnAdd->Disable();
    m_stProgress->SetLabel(FIND_SEARCHING_TEXT);
    // The search's thread only posts; the news is taken here, on this thread.
    m_search.Start(m_discovery, [this] { CallAfter(&CFindLocationDlg::OnSearchProgress); });
    UpdateRemoveButton();
}

void CFindLocationDlg::OnSearchProgress()
{
    if (!IsSearching())
        return; // news of a search that has been stopped
    const CSearchProgress progress = m_search.TakeProgress();
    if (progress.m_bDone)
    {
        EndSearch();
        return;
    }
    m_stProgress->SetLabel(FIND_SEARCHING_TEXT + ToDisplayText(progress.m_strFolder));
    size_t nFound = 0;
    for (const CLocationList& list : progress.m_found)
        nFound += list.GetCount();
    if (static_cast<int>(nFound) !=
        m_lcExplorer->GetItemCount() + m_lcNetscape->GetItemCount() + m_lcDatabases->GetItemCount())
    {
        ShowLists(progress.m_found);
        UpdateOkButton();
    }
}

void CFindLocationDlg::EndSearch()
{
    m_search.Stop(&m_discovery);
    m_stProgress->SetLabel(wxEmptyString);
    m_btnFind->SetLabel("&Find");
    m_btnAdd->Enable();
    ShowLocations();
    UpdateOkButton();
    UpdateMessage();
    UpdateRemoveButton();
    m_discovery.Beep();
}

void CFindLocationDlg::EndModal(int nReturnCode)
{
    m_search.Stop();
    wxDialog::EndModal(nReturnCode);
}

void CFindLocationDlg::OnAdd()
{
    const wxString choices[] = {"A cookie file or database (cookies.txt, " +
                                    DatabaseBrowserNames(false) + ")",
                                ADD_FOLDER_CHOICE};
    wxSingleChoiceDialog choose(this, ADD_QUESTION, "Add Cookie Location", 2, choices);
    if (choose.ShowModal() != wxID_OK)
        return;
    const bool bFolder = choose.GetSelection() == 1;
    const std::string strPath =
        ChoosePath(bFolder ? EPathKind::Folder : EPathKind::File,
                   bFolder ? "Choose a Cookie Folder" : "Choose a Cookie File", this);
    if (!strPath.empty())
        AddLocation(strPath);
}

bool CFindLocationDlg::AddLocation(const std::string& strPath)
{
    EBrowser browser{};
    std::string strWhyNot;
    if (!IdentifyCookieStore(strPath, browser, strWhyNot))
    {
        ShowMessageBox("Jarvane cannot use " + ToDisplayText(strPath) +
                           " as a cookie location: " + ToDisplayText(strWhyNot) + ".",
                       "Find Cookie Location", wxOK | wxICON_EXCLAMATION, this);
        return false;
    }
    m_discovery.Found(browser).Append(strPath);
    ShowLocations();
    UpdateOkButton();
    UpdateRemoveButton();
    return true;
}

void CFindLocationDlg::OnRemove()
{
    std::vector<std::pair<CLocationList*, std::string>> removed;
    for (wxListCtrl* pControl : {m_lcExplorer, m_lcNetscape, m_lcDatabases})
    {
        // The control shows its kinds' lists one after another, in table order.
        std::vector<std::pair<CLocationList*, size_t>> rows;
        for (const CStoreKind& kind : StoreKinds())
            if (ListOf(kind.shape) == pControl)
                for (size_t i = 0; i < m_discovery.Found(kind.browser).GetCount(); ++i)
                    rows.emplace_back(&m_discovery.Found(kind.browser), i);
        for (long nRow : SelectedRows(pControl))
            if (static_cast<size_t>(nRow) < rows.size())
            {
                const auto& [pList, nIndex] = rows[static_cast<size_t>(nRow)];
                removed.emplace_back(pList, pList->GetItem(nIndex));
            }
    }
    if (removed.empty())
        return;
    for (auto& [pList, strPath] : removed)
        pList->Remove(strPath);
    ShowLocations();
    UpdateOkButton();
    UpdateRemoveButton();
}

void CFindLocationDlg::OnOkButton()
{
    // OK does not wait for a search: it keeps what was found so far.
    if (IsSearching())
        m_search.Stop(&m_discovery);
    // A failed save is not reported; the dialog is accepted all the same.
    SaveLocations(GetAppFolders().GetLocationFilePath(), m_discovery.FoundItems());
    EndModal(wxID_OK);
}

void CFindLocationDlg::OnHelp()
{
    ShowHelpContents(this);
}
