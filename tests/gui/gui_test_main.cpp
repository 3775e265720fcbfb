// The GUI suite's main: a real wxApp on the display that scripts/with-display.sh
// provides. Asserts fail the test instead of opening a dialog, and log messages
// go to standard error instead of message boxes.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

namespace
{
void FailOnAssert(const wxString& strFile, int nLine, const wxString& strFunc,
                  const wxString& strCond, const wxString& strMsg)
{
    ADD_FAILURE_AT(strFile.utf8_str(), nLine) << "wx assertion in " << strFunc.utf8_str() << ": "
                                              << strCond.utf8_str() << " " << strMsg.utf8_str();
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
    {
        fprintf(stderr, "gui_tests: no display (run under scripts/with-display.sh)\n");
        return 1;
    }
    wxSetAssertHandler(FailOnAssert);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxTheApp->CallOnInit();
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
