#include "locations/gui/find_location_dlg.h"

#include "app/app_folders.h"
#include "inventory/cookie.h"
#include "locations/location_file.h"
#include "locations/store_kind.h"
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
enum
{
    IMAGE_EXPLORER_FOLDER = 0,
    IMAGE_NETSCAPE_FILE = 1,
};

#define FIND_SEARCHING_TEXT "Searching "
#define ADD_QUESTION "What do you want to add?"
#define ADD_FILE_CHOICE "A cookie file or database (cookies.txt, Firefox, Chromium)"
#define ADD_FOLDER_CHOICE "An Internet Explorer cookie folder"

// Rows of a list that are selected, in list order.
std::vector<long> SelectedRows(const wxListCtrl* pList)
{
    std::vector<long> rows;
    for (long nRow = pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); nRow != -1;
         nRow = pList->GetNextItem(nRow, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(nRow);
    return rows;
}

void FillList(wxListCtrl* pList, const CLocationList& locations, int nImage)
{
    pList->DeleteAllItems();
    for (size_t i = 0; i < locations.GetCount(); ++i)
        pList->InsertItem(static_cast<long>(i), ToDisplayText(locations.GetItem(i)), nImage);
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

    CreateTemplateText(this, "Firefox and Chromium Cookie Databases", {10, 208, 140, 8});
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
    ReadLocationSection(strFile, LOCATION_SECTION_IE,
                        [this](const std::string& strPath)
                        { m_discovery.AddExplorerLocation(strPath); });
    ReadLocationSection(strFile, LOCATION_SECTION_NS,
                        [this](const std::string& strPath)
                        { m_discovery.AddNetscapeLocation(strPath); });
    ReadLocationSection(strFile, LOCATION_SECTION_FF,
                        [this](const std::string& strPath)
                        { m_discovery.AddFirefoxLocation(strPath); });
    ReadLocationSection(strFile, LOCATION_SECTION_CR,
                        [this](const std::string& strPath)
                        { m_discovery.AddChromiumLocation(strPath); });
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
    ShowLists(m_discovery.m_explorerFolders, m_discovery.m_netscapeFiles,
              m_discovery.m_firefoxDatabases, m_discovery.m_chromiumDatabases);
}

void CFindLocationDlg::ShowLists(const CLocationList& explorer, const CLocationList& netscape,
                                 const CLocationList& firefox, const CLocationList& chromium)
{
    FillList(m_lcExplorer, explorer, IMAGE_EXPLORER_FOLDER);
    FillList(m_lcNetscape, netscape, IMAGE_NETSCAPE_FILE);
    m_lcDatabases->DeleteAllItems();
    for (const auto& [pList, pBrowser] :
         {std::make_pair(&firefox, FF_BROWSER_NAME), std::make_pair(&chromium, CR_BROWSER_NAME)})
        for (const std::string& strPath : pList->GetItems())
        {
            const long nRow = m_lcDatabases->GetItemCount();
            m_lcDatabases->InsertItem(nRow, ToDisplayText(strPath), IMAGE_NETSCAPE_FILE);
            m_lcDatabases->SetItem(nRow, 1, pBrowser);
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
    ShowLists({}, {}, {}, {});
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
    const int nFound = static_cast<int>(
        progress.m_explorerFolders.GetCount() + progress.m_netscapeFiles.GetCount() +
        progress.m_firefoxDatabases.GetCount() + progress.m_chromiumDatabases.GetCount());
    if (nFound !=
        m_lcExplorer->GetItemCount() + m_lcNetscape->GetItemCount() + m_lcDatabases->GetItemCount())
    {
        ShowLists(progress.m_explorerFolders, progress.m_netscapeFiles, progress.m_firefoxDatabases,
                  progress.m_chromiumDatabases);
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
    const wxString choices[] = {ADD_FILE_CHOICE, ADD_FOLDER_CHOICE};
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
    EBrowser browser = EBrowser::InternetExplorer;
    std::string strWhyNot;
    if (!IdentifyCookieStore(strPath, browser, strWhyNot))
    {
        ShowMessageBox("Jarvane cannot use " + ToDisplayText(strPath) +
                           " as a cookie location: " + ToDisplayText(strWhyNot) + ".",
                       "Find Cookie Location", wxOK | wxICON_EXCLAMATION, this);
        return false;
    }
    CLocationList* const lists[] = {&m_discovery.m_explorerFolders, &m_discovery.m_netscapeFiles,
                                    &m_discovery.m_firefoxDatabases,
                                    &m_discovery.m_chromiumDatabases};
    lists[BrowserIndex(browser)]->Append(strPath);
    ShowLocations();
    UpdateOkButton();
    UpdateRemoveButton();
    return true;
}

void CFindLocationDlg::OnRemove()
{
    std::vector<std::pair<CLocationList*, std::string>> removed;
    for (const auto& [pControl, pList] :
         {std::make_pair(m_lcExplorer, &m_discovery.m_explorerFolders),
          std::make_pair(m_lcNetscape, &m_discovery.m_netscapeFiles)})
        for (long nRow : SelectedRows(pControl))
            removed.emplace_back(pList, pList->GetItem(static_cast<size_t>(nRow)));
    // The database list shows the Firefox databases, then the Chromium ones.
    const size_t nFirefox = m_discovery.m_firefoxDatabases.GetCount();
    for (long nRow : SelectedRows(m_lcDatabases))
    {
        const size_t nIndex = static_cast<size_t>(nRow);
        if (nIndex < nFirefox)
            removed.emplace_back(&m_discovery.m_firefoxDatabases,
                                 m_discovery.m_firefoxDatabases.GetItem(nIndex));
        else
            removed.emplace_back(&m_discovery.m_chromiumDatabases,
                                 m_discovery.m_chromiumDatabases.GetItem(nIndex - nFirefox));
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
    SaveLocations(GetAppFolders().GetLocationFilePath(), m_discovery.m_explorerFolders.GetItems(),
                  m_discovery.m_netscapeFiles.GetItems(), m_discovery.m_firefoxDatabases.GetItems(),
                  m_discovery.m_chromiumDatabases.GetItems());
    EndModal(wxID_OK);
}

void CFindLocationDlg::OnHelp()
{
    ShowHelpContents(this);
}
