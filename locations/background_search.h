#pragma once

#include "locations/location_discovery.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// What a running search has got to: the folder it is in and the lists as far
// as they are found.
struct CSearchProgress
{
    std::string m_strFolder;
    CFoundLocations m_found;

    const CLocationList& Found(EBrowser browser) const { return m_found[BrowserIndex(browser)]; }
    bool m_bDone = false; // the search has ended, found everything or was stopped
};

// Runs a discovery's searches (FindAll) on a thread of its own, so that the
// thread that started it stays free. That thread follows it through
// TakeProgress and ends it with Stop; nothing else of the search is shared.
class CBackgroundSearch
{
public:
    CBackgroundSearch() = default;
    CBackgroundSearch(const CBackgroundSearch&) = delete;
    CBackgroundSearch& operator=(const CBackgroundSearch&) = delete;
    ~CBackgroundSearch() { Stop(); }

    // Starts a search on a copy of discovery (which must not beep from another
    // thread: the copy is given no beep). fnWake is called on the search
    // thread when there is news to take, at most once until it is taken and
    // at most every nInterval; it must only hand over, e.g. post an event.
    void Start(const CLocationDiscovery& discovery, std::function<void()> fnWake,
               std::chrono::milliseconds nInterval = std::chrono::milliseconds(25));
    // True from Start until Stop.
    bool IsRunning() const { return m_thread.joinable(); }
    // The latest progress, and leave fnWake free to wake again.
    CSearchProgress TakeProgress();
    // Cancels the search if it still runs and waits for its thread; then the
    // lists found so far are in discovery's lists. Without discovery, or
    // when not running, the results are dropped.
    void Stop(CLocationDiscovery* pDiscovery = nullptr);

private:
    void Publish(const CLocationDiscovery& discovery, const std::string& strFolder, bool bDone);

    std::thread m_thread;
    std::unique_ptr<CLocationDiscovery> m_pDiscovery; // the search thread's, until joined
    CSearchControl m_control;
    std::function<void()> m_fnWake;
    std::chrono::milliseconds m_nInterval{0};
    std::chrono::steady_clock::time_point m_lastPublished; // search thread only

    std::mutex m_mutex; // guards what follows
    CSearchProgress m_progress;
    bool m_bWakePending = false;
};
