#pragma once

#include <wx/dialog.h>

// The screen shown while a deletion the user started runs. Creating it shows
// and paints it at once and then pauses the thread without handling events, so
// that the user sees it before anything is deleted; it goes when destroyed.
class CWaitScreen : public wxDialog
{
public:
    explicit CWaitScreen(wxWindow* pParent);

    // The pause after the screen is painted; tests shorten it.
    static void SetPauseMs(unsigned nMs);
    static unsigned GetPauseMs();

private:
    void PaintNow();
};

// The wait screen of a deletion: it lives while the command runs.
class CWaitScreenScope
{
public:
    CWaitScreenScope(wxWindow* pParent, bool bShow)
        : m_pScreen(bShow ? new CWaitScreen(pParent) : nullptr)
    {
    }
    ~CWaitScreenScope()
    {
        if (m_pScreen)
        {
            m_pScreen->Hide();
            m_pScreen->Destroy();
        }
    }
    CWaitScreenScope(const CWaitScreenScope&) = delete;
    CWaitScreenScope& operator=(const CWaitScreenScope&) = delete;

private:
    CWaitScreen* m_pScreen;
};
