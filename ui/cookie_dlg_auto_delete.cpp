// The auto-delete timer: a wx timer that goes off when the schedule says a
// tick falls due, and the tick itself.
#include "ui/cookie_dlg.h"

namespace
{
unsigned s_nIntervalOverrideMs = 0;
} // namespace

void CCookieDlg::SetAutoDeleteIntervalOverride(unsigned nMs)
{
    s_nIntervalOverrideMs = nMs;
}

// Every call restarts the period, even when the choice is unchanged.
void CCookieDlg::StartAutoDeleteTimer()
{
    m_schedule.SetChoice(m_Settings.m_nAutoDelete, s_nIntervalOverrideMs);
    WaitForNextTick();
}

void CCookieDlg::WaitForNextTick()
{
    m_timer.Stop();
    const bool bStarted =
        m_schedule.IsRunning() && m_timer.StartOnce(static_cast<int>(m_schedule.MsUntilDue()));
    m_nTimerId = bStarted ? AUTO_DELETE_TIMER_ID : 0;
}

// The next wait starts before the tick runs: a tick that opens a message box
// is followed by the next while the box waits.
void CCookieDlg::OnAutoDeleteTimer()
{
    const bool bDue = m_schedule.TakeDueTick();
    WaitForNextTick();
    if (bDue)
        AutoDeleteTimerProc();
}

// Painting the wait screen lets the window system run, and with it the timer;
// a tick that falls due meanwhile runs once the deletion has finished.
void CCookieDlg::BeginDeletion()
{
    m_schedule.BeginDeletion();
}

void CCookieDlg::EndDeletion()
{
    const bool bTickPutOff = m_schedule.EndDeletion();
    if (m_bEndDeferred)
    {
        CallAfter(&CCookieDlg::OnExit);
        return;
    }
    if (!bTickPutOff)
        return;
    CallAfter(
        [this]
        {
            if (m_nTimerId != 0)
                AutoDeleteTimerProc();
        });
}

void CCookieDlg::AutoDeleteTimerProc()
{
    if (m_schedule.PutOffWhileDeleting())
        return;
    RefreshCookies();
    m_Inventory.SetDeletionSource(EUndoHow::Timer);
    m_bTimerBatch = true;
    DeleteAllUnprotected();
    m_bTimerBatch = false;
    m_Inventory.SetDeletionSource(EUndoHow::Window);
    TellKeptRows(false);
}
