#include "app/gui/end_requests.h"

#include "ui/cookie_dlg.h"

#include <algorithm>
#include <vector>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/modalhook.h>
#ifdef __WXGTK__
#include <dlfcn.h>
#endif

namespace
{
bool s_bEndRequested = false;
// The main window ends once the dialogs above it have returned.
bool s_bMainEndPending = false;
CEndRequests* s_pLive = nullptr;

// The system may end the process as soon as this returns (Windows does): the
// marks are written before, even while a dialog still has to close.
void OnSessionEnd(wxCloseEvent& event)
{
    event.Skip();
    CEndRequests::EndProgram();
    if (auto* pMainWindow = dynamic_cast<CCookieDlg*>(wxTheApp->GetTopWindow()))
        pMainWindow->EndSessionNow();
}

// A message box runs GTK's own dialog loop, which wx cannot end: GTK is told
// that the user closed it. The function is looked up in the running program,
// so the build needs no GTK headers.
void CancelNativeDialog(wxDialog& dialog)
{
#ifdef __WXGTK__
    using TDialogResponse = void (*)(void*, int);
    constexpr int GTK_RESPONSE_DELETE_EVENT = -4;
    static const auto pfnResponse =
        reinterpret_cast<TDialogResponse>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
    if (pfnResponse && dialog.GetHandle())
        pfnResponse(dialog.GetHandle(), GTK_RESPONSE_DELETE_EVENT);
#else
    (void)dialog;
#endif
}

void EndMainWindow()
{
    if (s_pLive == nullptr)
        return;
    if (auto* pMainWindow = dynamic_cast<CCookieDlg*>(wxTheApp->GetTopWindow()))
        pMainWindow->EndAsExit();
}
} // namespace

// The modal dialogs open now, innermost last.
class COpenDialogs : public wxModalDialogHook
{
public:
    std::vector<wxDialog*> m_dialogs;

private:
    int Enter(wxDialog* pDialog) override
    {
        m_dialogs.push_back(pDialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* pDialog) override
    {
        m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), pDialog), m_dialogs.end());
        if (s_bMainEndPending && !HasDialogAboveMainWindow())
        {
            s_bMainEndPending = false;
            wxTheApp->CallAfter(&EndMainWindow);
        }
    }

public:
    bool HasDialogAboveMainWindow() const
    {
        return std::any_of(m_dialogs.begin(), m_dialogs.end(),
                           [](wxDialog* pDialog)
                           { return dynamic_cast<CCookieDlg*>(pDialog) == nullptr; });
    }
};

class CExitSignalHandler : public wxEventLoopSourceHandler
{
public:
    explicit CExitSignalHandler(CExitSignals& signals) : m_signals(signals) {}
    void OnReadWaiting() override
    {
        // Called between two events of whichever loop runs, message boxes'
        // own included (wx handles no queued event there).
        if (m_signals.TakeSignals())
            CEndRequests::EndProgram();
    }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

private:
    CExitSignals& m_signals;
};

CEndRequests::CEndRequests()
    : m_pHandler(std::make_unique<CExitSignalHandler>(m_signals)),
      m_pOpenDialogs(std::make_unique<COpenDialogs>())
{
    s_bEndRequested = false;
    s_bMainEndPending = false;
    s_pLive = this;
    m_pOpenDialogs->Register();
    // Asked whether the session may end, the program lets it; when it ends,
    // the program ends at once, as after a signal.
    wxTheApp->Bind(wxEVT_END_SESSION, OnSessionEnd);
    if (m_signals.GetDescriptor() >= 0)
        m_pSource = wxEventLoopBase::AddSourceForFD(m_signals.GetDescriptor(), m_pHandler.get(),
                                                    wxEVENT_SOURCE_INPUT);
}

CEndRequests::~CEndRequests()
{
    delete m_pSource;
    wxTheApp->Unbind(wxEVT_END_SESSION, OnSessionEnd);
    m_pOpenDialogs->Unregister();
    s_pLive = nullptr;
}

bool CEndRequests::IsEndRequested()
{
    return s_bEndRequested;
}

void CEndRequests::EndProgram()
{
    // A request queued while start-up ran is void once it has ended.
    if (s_pLive == nullptr)
        return;
    s_bEndRequested = true;
    bool bNested = false;
    for (wxDialog* pDialog : std::vector<wxDialog*>(s_pLive->m_pOpenDialogs->m_dialogs))
    {
        if (dynamic_cast<CCookieDlg*>(pDialog))
            continue;
        bNested = true;
        if (pDialog->IsModal())
            pDialog->EndModal(wxID_CANCEL);
        else
            CancelNativeDialog(*pDialog);
    }
    // The main window ends from its own loop, once the dialogs above it have
    // returned: a loop told to end while another runs inside it may wait for input.
    if (bNested)
        s_bMainEndPending = true;
    else
        EndMainWindow();
}
