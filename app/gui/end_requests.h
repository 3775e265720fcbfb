#pragma once

#include "platform/exit_signals.h"

#include <memory>

class wxEventLoopSource;
class CExitSignalHandler;
class COpenDialogs;

// Ends the program, from its own loop, when the system asks it to (a signal,
// or the desktop session ending), the way its Exit command ends it: every
// dialog open above the main window is cancelled, and the main window ends as
// Exit ends it, writing the protection lists; start-up goes no further. A
// deletion that runs finishes first.
class CEndRequests
{
public:
    CEndRequests();
    CEndRequests(const CEndRequests&) = delete;
    CEndRequests& operator=(const CEndRequests&) = delete;
    ~CEndRequests();

    // True once an end was asked for while this object lived.
    static bool IsEndRequested();
    // Ends the program as described above; also what the session's end
    // (wxEVT_END_SESSION) does. Nothing once the object has gone.
    static void EndProgram();

private:
    CExitSignals m_signals;
    std::unique_ptr<CExitSignalHandler> m_pHandler;
    std::unique_ptr<COpenDialogs> m_pOpenDialogs;
    wxEventLoopSource* m_pSource = nullptr;
};
