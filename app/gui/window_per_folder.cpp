#include "app/gui/window_per_folder.h"

#include "app/one_window.h"
#include "platform/runtime_folder.h"
#include "ui/cookie_dlg.h"

#include <wx/app.h>
#include <wx/ipc.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

namespace
{
const char* const CHANNEL_TOPIC = "Jarvane";
const char* const FRONT_REQUEST = "front";
// A first program that has taken the marker may not listen yet.
constexpr int CONNECT_TRIES = 20;
constexpr int CONNECT_RETRY_MS = 100;

class CFrontConnection : public wxConnection
{
public:
    explicit CFrontConnection(std::function<void()> fnBringToFront)
        : m_fnBringToFront(std::move(fnBringToFront))
    {
    }
    bool OnExecute(const wxString&, const void*, size_t, wxIPCFormat) override
    {
        wxTheApp->CallAfter(m_fnBringToFront);
        return true;
    }

private:
    std::function<void()> m_fnBringToFront;
};

class CFrontServer : public wxServer
{
public:
    explicit CFrontServer(std::function<void()> fnBringToFront)
        : m_fnBringToFront(std::move(fnBringToFront))
    {
    }
    wxConnectionBase* OnAcceptConnection(const wxString& strTopic) override
    {
        if (strTopic != CHANNEL_TOPIC)
            return nullptr;
        return new CFrontConnection(m_fnBringToFront);
    }

private:
    std::function<void()> m_fnBringToFront;
};

void AskToComeToFront(const wxString& strChannel)
{
    wxClient client;
    for (int i = 0; i < CONNECT_TRIES; ++i)
    {
        std::unique_ptr<wxConnectionBase> pConnection(
            client.MakeConnection("localhost", strChannel, CHANNEL_TOPIC));
        if (pConnection)
        {
            pConnection->Execute(FRONT_REQUEST);
            pConnection->Disconnect();
            return;
        }
        wxMilliSleep(CONNECT_RETRY_MS);
    }
}
} // namespace

CWindowPerFolder::CWindowPerFolder(std::function<void()> fnBringToFront)
    : m_fnBringToFront(std::move(fnBringToFront))
{
}

CWindowPerFolder::~CWindowPerFolder() = default;

bool CWindowPerFolder::TakeFolder(const std::string& strFolder)
{
    const std::string strRuntimeFolder = GetPrivateRuntimeFolder();
    const COneWindowNames names = GetOneWindowNames(strFolder, strRuntimeFolder);
    if (names.strMarkerName.empty())
        return true;
    wxLogNull noToolkitMessages; // a stale marker or channel is not the user's business
    m_pChecker = std::make_unique<wxSingleInstanceChecker>();
    if (!m_pChecker->Create(wxString::FromUTF8(names.strMarkerName),
                            wxString::FromUTF8(strRuntimeFolder)))
    {
        m_pChecker.reset();
        return true;
    }
    const wxString strChannel = wxString::FromUTF8(names.strChannelPath);
    if (m_pChecker->IsAnotherRunning())
    {
        m_pChecker.reset();
        AskToComeToFront(strChannel);
        return false;
    }
    m_pServer = std::make_unique<CFrontServer>(m_fnBringToFront);
    if (!m_pServer->Create(strChannel))
        m_pServer.reset();
    return true;
}

void BringProgramToFront()
{
    if (auto* pMainWindow = dynamic_cast<CCookieDlg*>(wxTheApp->GetTopWindow()))
    {
        pMainWindow->ShowNormally();
        return;
    }
    for (wxWindow* pWindow : wxTopLevelWindows)
        if (pWindow->IsShown())
            pWindow->Raise();
}
