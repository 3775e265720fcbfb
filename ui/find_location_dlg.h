#pragma once

#include "locations/background_search.h"
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
    IDC_FIND_ADD = 1030,
    IDC_FIND_REMOVE = 1031,
    IDC_FIND_PROGRESS = 1032,
};

#define FIND_FOUND_MESSAGE                                                                         \
    "Jarvane has located your browsers cookie location.\nPress 'OK' to go to the main screen."
#define FIND_NOT_FOUND_MESSAGE                                                                     \
    "Jarvane did not find the location of your browsers cookies. If you have a Netscape "          \
    "browser select a different drive to search on."

// Lets the user find and accept the Internet Explorer cookie folders, the
// Netscape cookie files and the Firefox and Chromium cookie databases. It opens
// with the remembered locations; OK saves the lists to the location file and ends with wxID_OK;
// Escape and the close box end it with wxID_CANCEL and write nothing. The search
// runs on a thread of its own while the dialog shows where it is and answers:
// Find turns into Stop, and Escape stops a search before it closes the dialog.
// Add and Remove (or the Delete key) change the lists by hand.
class CFindLocationDlg : public wxDialog
{
public:
    // Searches this system's registry and drives, and beeps with wxBell.
    explicit CFindLocationDlg(wxWindow* pParent);
    CFindLocationDlg(wxWindow* pParent, const IRegistry& registry, const IDriveSource& drives,
                     std::string strWindowsFolder, std::function<void()> fnBeep,
                     std::string strHomeFolder = std::string());
    ~CFindLocationDlg() override;

    // Starts a search, or stops the one that runs.
    void OnFind();
    void OnOkButton();
    void OnHelp();
    // Asks what to add, then for the file or folder, and adds it.
    void OnAdd();
    // Removes the selected entries of every list.
    void OnRemove();
    // Adds a path to the list of the browser its content belongs to; a path
    // that is no cookie store is refused with a message saying why.
    bool AddLocation(const std::string& strPath);
    bool IsSearching() const { return m_search.IsRunning(); }
    // A search in progress ends without its results.
    void EndModal(int nReturnCode) override;

    wxImageList m_imageList;
    wxChoice* m_cbDrive = nullptr;
    wxButton* m_btnFind = nullptr;
    wxStaticText* m_stMessage = nullptr;
    wxButton* m_btnOK = nullptr;
    wxListCtrl* m_lcNetscape = nullptr;
    wxListCtrl* m_lcExplorer = nullptr;
    wxListCtrl* m_lcDatabases = nullptr; // every Database kind's, in table order
    wxButton* m_btnAdd = nullptr;
    wxButton* m_btnRemove = nullptr;
    wxStaticText* m_stProgress = nullptr; // the folder being searched

private:
    void CreateControls();
    wxListCtrl* CreateLocationList(int nId, const CDluRect& rect, const char* pHeading);
    void LoadSavedLocations();
    void UpdateOkButton();
    void UpdateMessage();
    void UpdateRemoveButton();
    // Shows the discovery's lists and drive choice in the controls.
    void ShowLocations();
    void ShowLists(const CFoundLocations& found);
    // The list control that shows the locations of a kind.
    wxListCtrl* ListOf(EStoreShape shape) const;
    void ShowDrives();
    void StartSearch();
    // Takes the search's news on this thread.
    void OnSearchProgress();
    // Waits for the search's thread and shows what it found.
    void EndSearch();

    CLocationDiscovery m_discovery;
    CBackgroundSearch m_search; // declared last: its thread ends first
};
