#include "locations/background_search.h"

void CBackgroundSearch::Start(const CLocationDiscovery& discovery, std::function<void()> fnWake,
                              std::chrono::milliseconds nInterval)
{
    Stop();
    m_pDiscovery = std::make_unique<CLocationDiscovery>(discovery);
    m_pDiscovery->SetBeep(nullptr);
    m_control.m_bCancel = false;
    m_fnWake = std::move(fnWake);
    m_nInterval = nInterval;
    m_lastPublished = std::chrono::steady_clock::time_point();
    m_control.m_fnProgress = [this](const std::string& strFolder)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastPublished < m_nInterval)
            return;
        m_lastPublished = now;
        Publish(*m_pDiscovery, strFolder, false);
    };
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress = CSearchProgress();
        m_bWakePending = false;
    }
    m_thread = std::thread(
        [this]
        {
            m_pDiscovery->FindAll(&m_control);
            Publish(*m_pDiscovery, std::string(), true);
        });
}

void CBackgroundSearch::Publish(const CLocationDiscovery& discovery, const std::string& strFolder,
                                bool bDone)
{
    bool bWake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.m_strFolder = strFolder;
        m_progress.m_found = discovery.m_found;
        m_progress.m_bDone = bDone;
        bWake = !m_bWakePending;
        m_bWakePending = true;
    }
    if (bWake && m_fnWake)
        m_fnWake();
}

CSearchProgress CBackgroundSearch::TakeProgress()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bWakePending = false;
    return m_progress;
}

void CBackgroundSearch::Stop(CLocationDiscovery* pDiscovery)
{
    if (!m_thread.joinable())
        return;
    m_control.m_bCancel = true;
    m_thread.join();
    if (pDiscovery)
    {
        pDiscovery->m_found = m_pDiscovery->m_found;
    }
    m_pDiscovery.reset();
}
