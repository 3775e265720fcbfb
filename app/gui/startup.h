#pragma once

#include <functional>

// How the start-up sequence ended.
enum class EStartupEnd
{
    FindCancelled,      // the Find Cookie Location dialog was cancelled: no main window
    MainWindowClosed,   // the main window ran and was closed
    OtherWindowRuns,    // a window program runs in this folder already: it was asked to the front
    EndedWhileStarting, // the user gave up waiting for the folder, or the system asked to end
};

// The start-up sequence: records the folders, goes no further when a window
// program runs in the folder already (asking it to the front), waits while
// jarvane-cli writes the folder, checks the remembered cookie
// locations (telling the user which one is missing), runs the Find Cookie
// Location dialog through fnRunFindDialog when the check fails, and then runs
// the main window until it closes. fnRunFindDialog returns the dialog's result.
EStartupEnd RunStartupSequence(const std::function<int()>& fnRunFindDialog);

// The Find Cookie Location dialog on this system's registry and drives, run
// modally without a parent.
int RunSystemFindDialog();
