#pragma once

#include "locations/location_discovery.h"

#include <functional>
#include <string>
#include <wx/dialog.h>
#include <wx/imaglist.h>

class wxButton;
class wxChoice;
class wxCommandEvent;
class wxListCtrl;
class wxStaticText;
struct CDluRect;

// Control ids of the Find Cookie Location dialog.
enum
{
    IDC_EXPLORER_LIST = 1003,
    IDC_FIND_HELP = 1004,
    IDC_NETSCAPE_LIST = 1005,
    IDC_FIND = 1007,
    IDC_FIND_OK = 1009,
    IDC_FIND_MESSAGE = 1010,
    IDC_DRIVE = 1013,
    IDC_DATABASE_LIST = 1024,
};

#define FIND_FOUND_MESSAGE                                                                         \
    "Jarvane has located your browsers cookie location.\nPress 'OK' to go to the main screen."
#define FIND_NOT_FOUND_MESSAGE                                                                     \
    "Jarvane did not find the location of your browsers cookies. If you have a Netscape "          \
    "browser select a different drive to search on."

// Lets the user find and accept the Internet Explorer cookie folders, the
// Netscape cookie files and the Firefox and Chromium cookie databases. It opens
// with the remembered locations; OK saves the lists to the location file and ends with wxID_OK;
// Escape and the close box end it with wxID_CANCEL and write nothing.
class CFindLocationDlg : public wxDialog
{
public:
    // Searches this system's registry and drives, and beeps with wxBell.
    explicit CFindLocationDlg(wxWindow* pParent);
    CFindLocationDlg(wxWindow* pParent, const IRegistry& registry, const IDriveSource& drives,
                     std::string strWindowsFolder, std::function<void()> fnBeep,
                     std::string strHomeFolder = std::string());
    ~CFindLocationDlg() override;

    void OnFind();
    void OnOkButton();
    void OnHelp();

    wxImageList m_imageList;
    wxChoice* m_cbDrive = nullptr;
    wxButton* m_btnFind = nullptr;
    wxStaticText* m_stMessage = nullptr;
    wxButton* m_btnOK = nullptr;
    wxListCtrl* m_lcNetscape = nullptr;
    wxListCtrl* m_lcExplorer = nullptr;
    wxListCtrl* m_lcDatabases = nullptr; // Firefox, then Chromium

private:
    void CreateControls();
    wxListCtrl* CreateLocationList(int nId, const CDluRect& rect, const char* pHeading);
    void LoadSavedLocations();
    void UpdateOkButton();
    void UpdateMessage();
    // Shows the discovery's lists and drive choice in the controls.
    void ShowLocations();
    void ShowDrives();

    CLocationDiscovery m_discovery;
};
