#include "app/auto_delete_schedule.h"

#include "app/settings.h"

#include <chrono>
#include <utility>

std::int64_t CAutoDeleteSchedule::SteadyClockMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

CAutoDeleteSchedule::CAutoDeleteSchedule(Clock fnNowMs) : m_fnNowMs(std::move(fnNowMs)) {}

void CAutoDeleteSchedule::SetChoice(int nAutoDelete, unsigned nOverrideMs)
{
    m_nIntervalMs = AutoDeleteIntervalMs(nAutoDelete);
    if (m_nIntervalMs != 0 && nOverrideMs != 0)
        m_nIntervalMs = nOverrideMs;
    m_nDueMs = m_fnNowMs() + m_nIntervalMs;
}

unsigned CAutoDeleteSchedule::MsUntilDue() const
{
    if (!IsRunning())
        return 0;
    const std::int64_t nLeft = m_nDueMs - m_fnNowMs();
    return nLeft < 1 ? 1 : static_cast<unsigned>(nLeft);
}

bool CAutoDeleteSchedule::TakeDueTick()
{
    const std::int64_t nNow = m_fnNowMs();
    if (!IsRunning() || nNow < m_nDueMs)
        return false;
    m_nDueMs = nNow + m_nIntervalMs;
    return true;
}

void CAutoDeleteSchedule::BeginDeletion()
{
    m_bDeleting = true;
}

bool CAutoDeleteSchedule::PutOffWhileDeleting()
{
    if (m_bDeleting)
        m_bTickPutOff = true;
    return m_bDeleting;
}

bool CAutoDeleteSchedule::EndDeletion()
{
    m_bDeleting = false;
    const bool bRun = m_bTickPutOff && IsRunning();
    m_bTickPutOff = false;
    return bRun;
}
