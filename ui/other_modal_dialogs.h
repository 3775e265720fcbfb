#pragma once

#include <wx/modalhook.h>

// Counts every modal dialog but the main window while it runs: message boxes,
// the Options, Find, About and Properties dialogs, help.
class COtherModalDialogs : public wxModalDialogHook
{
public:
    explicit COtherModalDialogs(wxDialog* pMain) : m_pMain(pMain) { Register(); }
    ~COtherModalDialogs() override { Unregister(); }
    bool Any() const { return m_nOpen > 0; }

protected:
    int Enter(wxDialog* pDialog) override
    {
        if (pDialog != m_pMain)
            ++m_nOpen;
        return wxID_NONE;
    }
    void Exit(wxDialog* pDialog) override
    {
        if (pDialog != m_pMain && m_nOpen > 0)
            --m_nOpen;
    }

private:
    wxDialog* m_pMain;
    int m_nOpen = 0;
};
