#pragma once

#include <functional>
#include <memory>
#include <string>
#include <wx/ipc.h>

class wxSingleInstanceChecker;

// One window program per working folder. The first start in a folder holds a
// marker for it and listens on a local channel that only the user can reach;
// a later start in that folder finds the marker, asks the first through the
// channel to come to the front, and goes no further. Starts in other folders
// do not meet.
class CWindowPerFolder
{
public:
    // fnBringToFront runs in the first program when a later start asks for it.
    explicit CWindowPerFolder(std::function<void()> fnBringToFront);
    CWindowPerFolder(const CWindowPerFolder&) = delete;
    CWindowPerFolder& operator=(const CWindowPerFolder&) = delete;
    ~CWindowPerFolder();

    // True when no other window program runs in strFolder (this one then
    // holds the folder until the object goes); false when one does, after it
    // has been asked to come to the front. Reads and writes nothing of the
    // folder. Where no private place for the marker can be had, true.
    bool TakeFolder(const std::string& strFolder);

private:
    std::function<void()> m_fnBringToFront;
    std::unique_ptr<wxSingleInstanceChecker> m_pChecker;
    std::unique_ptr<wxServer> m_pServer;
};

// What the first program does when asked: the main window comes out of the
// notification area and to the front; before it exists, the window that is
// shown (the Find Cookie Location dialog, the wait for the folder) comes to
// the front.
void BringProgramToFront();
