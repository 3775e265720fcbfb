#include "platform/exit_signals.h"

// A windowed program on Windows gets no console signals; the session's end
// reaches it as window messages.
CExitSignals::CExitSignals() = default;
CExitSignals::~CExitSignals() = default;

int CExitSignals::GetDescriptor() const
{
    return -1;
}

bool CExitSignals::TakeSignals()
{
    return false;
}
