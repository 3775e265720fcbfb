#pragma once

#include <wx/app.h>

// The application: runs the start-up sequence, and ends when the main window
// closes or the first Find Cookie Location dialog is cancelled. It reads no
// command-line arguments.
class CCookieApp : public wxApp
{
public:
    // Opens the display; without one, says so in one line on standard error.
    bool Initialize(int& argc, wxChar** argv) override;
    // Runs InitInstance.
    bool OnInit() override;
    // The start-up sequence; it always returns false: the application runs no
    // message loop of its own, only those of its modal windows.
    bool InitInstance();
    int OnRun() override;
};
