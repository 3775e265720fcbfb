#pragma once

#include <deque>
#include <functional>
#include <wx/dialog.h>
#include <wx/timer.h>

// Drives modal dialogs from inside their own event loops. Each step waits until
// the topmost modal dialog is of the type it expects, then runs on it (from an
// idle callback, so that a step may open a further modal dialog). A dialog left
// open with no step for it is cancelled after a timeout and fails the test.
class CModalScript : private wxTimer
{
public:
    CModalScript();
    ~CModalScript() override;

    template <class TDialog> CModalScript& On(std::function<void(TDialog&)> fnStep)
    {
        m_steps.push_back({[](wxDialog& dialog) { return dynamic_cast<TDialog*>(&dialog); },
                           [fnStep](wxDialog& dialog) { fnStep(dynamic_cast<TDialog&>(dialog)); }});
        return *this;
    }

    // The steps not yet run.
    size_t GetPendingSteps() const { return m_steps.size(); }

private:
    struct CStep
    {
        std::function<bool(wxDialog&)> fnMatches;
        std::function<void(wxDialog&)> fnRun;
    };

    void Notify() override;

    std::deque<CStep> m_steps;
    bool m_bStepScheduled = false;
    wxLongLong m_nWaitStart;
};

// The topmost modal dialog, or nullptr.
wxDialog* FindTopModalDialog();

// Presses a button of a window as a click would.
void ClickButton(wxWindow& window, int nId);
// Sends the Escape key to a dialog.
void PressEscape(wxDialog& dialog);
