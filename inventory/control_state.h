#pragma once

#include <string>

class CCookieListModel;

// What the main window's controls show for the list's current rows and
// selection: the buttons' enabled states, the Protect label, the count and
// the tray tip.
struct CControlState
{
    bool bDeleteEnabled = false;
    bool bDeleteAllEnabled = false;
    bool bProtectEnabled = false;
    std::string strProtectLabel; // "&Protect" or "&Unprotect"
    std::string strCount;        // the number of rows, "%d"
    std::string strTrayTip;      // "Jarvane (%ld Cookies)", at most 63 characters
};

// strCurrentLabel is the Protect button's label now: with no row selected the
// label stays as it is.
CControlState ComputeControlState(const CCookieListModel& list, const std::string& strCurrentLabel);
