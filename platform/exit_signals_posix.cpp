#include "platform/exit_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr int CAUGHT_SIGNALS[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int SIGNAL_COUNT = sizeof(CAUGHT_SIGNALS) / sizeof(CAUGHT_SIGNALS[0]);

int s_pipe[2] = {-1, -1};
struct sigaction s_previous[SIGNAL_COUNT];

// Only async-signal-safe calls: write to a non-blocking pipe, and errno kept.
void OnExitSignal(int nSignal)
{
    const int nSavedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    [[maybe_unused]] const ssize_t nWritten = write(s_pipe[1], &byte, 1);
    errno = nSavedErrno;
}
} // namespace

CExitSignals::CExitSignals()
{
    if (pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
    {
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = OnExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < SIGNAL_COUNT; ++i)
        sigaction(CAUGHT_SIGNALS[i], &action, &s_previous[i]);
}

CExitSignals::~CExitSignals()
{
    if (s_pipe[0] < 0)
        return;
    for (int i = 0; i < SIGNAL_COUNT; ++i)
        sigaction(CAUGHT_SIGNALS[i], &s_previous[i], nullptr);
    close(s_pipe[0]);
    close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

int CExitSignals::GetDescriptor() const
{
    return s_pipe[0];
}

bool CExitSignals::TakeSignals()
{
    bool bTaken = false;
    unsigned char buffer[16];
    while (s_pipe[0] >= 0 && read(s_pipe[0], buffer, sizeof(buffer)) > 0)
        bTaken = true;
    return bTaken;
}
