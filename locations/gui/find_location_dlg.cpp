#include "locations/gui/find_location_dlg.h"

#include "app/app_folders.h"
#include "inventory/cookie.h"
#include "locations/location_file.h"
#include "platform/browser_homes.h"
#include "res/resources.h"
#include "ui/dialog_units.h"
#include "ui/display_text.h"
#include "ui/help.h"

#include <wx/button.h>
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
             if (event.GetKeyCode() == WXK_ESCAPE)
                 EndModal(wxID_CANCEL);
             else
                 event.Skip();
         });
    // The template's size, grown downwards for the database list.
    SetClientSize(DluToPixels(this, 280, 282));
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
        wxEVT_CHOICE,
        [this](wxCommandEvent&)
        { m_discovery.m_driveChoice.m_nSelected = m_cbDrive->GetSelection(); },
        IDC_DRIVE);
    CentreOnScreen();
}

CFindLocationDlg::~CFindLocationDlg()
{
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
    PlaceInDialogUnits(pFrame, {0, 0, 279, 281}, EDluHeight::Exact);

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

    CreateTemplateText(this,
                       "If you have a Netscape browser you might need to change the drive where "
                       "Jarvane searches.",
                       {10, 184, 212, 20});

    CreateTemplateText(this, "Firefox and Chromium Cookie Databases", {10, 208, 140, 8});
    m_lcDatabases = CreateLocationList(IDC_DATABASE_LIST, {9, 218, 223, 56}, "Cookie Database");
    const int nBrowserWidth = DluToPixels(this, 50, 0).x;
    m_lcDatabases->SetColumnWidth(0, m_lcDatabases->GetClientSize().x - nBrowserWidth);
    m_lcDatabases->AppendColumn("Browser", wxLIST_FORMAT_LEFT, nBrowserWidth);
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

void CFindLocationDlg::ShowLocations()
{
    FillList(m_lcExplorer, m_discovery.m_explorerFolders, IMAGE_EXPLORER_FOLDER);
    FillList(m_lcNetscape, m_discovery.m_netscapeFiles, IMAGE_NETSCAPE_FILE);
    m_lcDatabases->DeleteAllItems();
    for (const auto& [pList, pBrowser] :
         {std::make_pair(&m_discovery.m_firefoxDatabases, FF_BROWSER_NAME),
          std::make_pair(&m_discovery.m_chromiumDatabases, CR_BROWSER_NAME)})
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
    m_discovery.RunSearch();
    ShowLocations();
    UpdateOkButton();
    UpdateMessage();
}

void CFindLocationDlg::OnOkButton()
{
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
