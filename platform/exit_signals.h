#pragma once

// The requests from outside to end the program: on POSIX systems SIGTERM (what
// a logout or shutdown sends), SIGHUP (the terminal or session went) and SIGINT
// (Ctrl+C). Their handler only writes a byte to a pipe, so the program ends from
// its own loop, between two events, the way its Exit command ends it.
// One object at a time; it puts the previous handlers back when it goes.
class CExitSignals
{
public:
    CExitSignals();
    CExitSignals(const CExitSignals&) = delete;
    CExitSignals& operator=(const CExitSignals&) = delete;
    ~CExitSignals();

    // The descriptor that becomes readable when a signal has come; -1 where
    // signals are not caught (on Windows a windowed program is asked to end by
    // the session messages instead).
    int GetDescriptor() const;
    // Empties the descriptor; true when a signal had come.
    bool TakeSignals();
};
