#pragma once

#include "support/temp_dir.h"
#include "ui/cookie_dlg.h"
#include "ui/sound_player.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <wx/listctrl.h>

// A start-up folder with an Internet Explorer cookie folder "ie", a Netscape
// "cookies.txt", a Location.DAT naming both and a Jarvane.INI; the program's
// folders point at it. The main window is opened on demand, either shown
// modelessly or run as the program runs it.
class CMainWindowTest : public ::testing::Test
{
protected:
    CMainWindowTest();
    ~CMainWindowTest() override;

    std::string WriteIECookie(const std::string& strFile, const std::string& strName);
    void WriteNSCookies(const std::vector<std::string>& domains);
    void WriteSettings(const std::string& strSound, const std::string& strWait, int nAutoDelete);

    CCookieDlg& OpenWindow();
    void CloseWindow();
    // Runs the start-up sequence in the folder, so that the main window runs
    // modally, and runs fnSteps inside that modal run (m_pDlg is the window
    // meanwhile). A window still running after the steps is ended with Exit.
    // Returns whether it was still running: a step that ends the run by
    // accident shows here.
    bool RunWindowModally(const std::function<void(CCookieDlg&)>& fnSteps);

    // Row texts of one column as the list control shows them.
    std::vector<std::string> ShownColumn(int nColumn) const;
    std::vector<long> ShownSelection() const;
    long ShownFocus() const;
    int FindShownRow(const std::string& strName) const;

    // Real input through the window system, then the events it caused.
    void ClickRow(int nRow, int nModifiers = 0, bool bRight = false, bool bDouble = false);
    // A click on the list's empty area below the rows.
    void ClickBelowRows();
    void PressKey(int nKey, int nModifiers = 0);

    CTempDir m_dir;
    std::string m_strIEFolder;
    std::string m_strNSFile;
    std::vector<CSoundRequest> m_sounds;
    CCookieDlg* m_pDlg = nullptr;
};

// Runs events until fnDone is true or nTimeoutMs passed; returns fnDone().
bool YieldUntil(const std::function<bool()>& fnDone, int nTimeoutMs = 3000);
// Runs events for a while.
void YieldFor(int nMs);
// The shown top-level window with this title, or nullptr.
wxWindow* FindShownTopLevel(const wxString& strTitle);
