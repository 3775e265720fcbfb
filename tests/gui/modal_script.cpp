#include "modal_script.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/toplevel.h>

namespace
{
constexpr int POLL_MS = 20;
constexpr long TIMEOUT_MS = 15000;
} // namespace

CModalScript::CModalScript() : m_nWaitStart(wxGetLocalTimeMillis())
{
    Start(POLL_MS);
}

CModalScript::~CModalScript()
{
    Stop();
}

void CModalScript::Notify()
{
    if (m_bStepScheduled)
        return;
    wxDialog* pDialog = FindTopModalDialog();
    if (!pDialog)
        return;
    if (m_steps.empty() || !m_steps.front().fnMatches(*pDialog))
    {
        if (wxGetLocalTimeMillis() - m_nWaitStart > TIMEOUT_MS)
        {
            ADD_FAILURE() << "modal dialog \"" << pDialog->GetTitle().utf8_str()
                          << "\" was left open; cancelling it";
            pDialog->EndModal(wxID_CANCEL);
            m_nWaitStart = wxGetLocalTimeMillis();
        }
        return;
    }
    CStep step = m_steps.front();
    m_steps.pop_front();
    m_bStepScheduled = true;
    wxTheApp->CallAfter(
        [this, step, pDialog]
        {
            m_bStepScheduled = false;
            m_nWaitStart = wxGetLocalTimeMillis();
            step.fnRun(*pDialog);
        });
}

wxDialog* FindTopModalDialog()
{
    wxDialog* pTop = nullptr;
    for (wxWindow* pWindow : wxTopLevelWindows)
    {
        auto* pDialog = dynamic_cast<wxDialog*>(pWindow);
        if (pDialog && pDialog->IsModal())
            pTop = pDialog;
    }
    return pTop;
}

void ClickButton(wxWindow& window, int nId)
{
    auto* pButton = dynamic_cast<wxButton*>(window.FindWindow(nId));
    ASSERT_TRUE(pButton != nullptr) << "no button " << nId;
    ASSERT_TRUE(pButton->IsEnabled()) << "button " << nId << " is disabled";
    wxCommandEvent click(wxEVT_BUTTON, nId);
    click.SetEventObject(pButton);
    pButton->ProcessWindowEvent(click);
}

void PressEscape(wxDialog& dialog)
{
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(key);
}
