#pragma once

#include <cstdint>
#include <functional>

// When the auto-delete timer's ticks fall due. The period runs from the moment
// the choice was last set (every Options OK restarts it) and then from each
// tick. A tick that falls due while a user's deletion runs is put off until the
// deletion has finished and then runs once, however many fell due meanwhile.
class CAutoDeleteSchedule
{
public:
    // Milliseconds of a clock that never goes back.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t SteadyClockMs();

    explicit CAutoDeleteSchedule(Clock fnNowMs = SteadyClockMs);

    // The auto-delete choice of the settings (0..3; anything else is "Never").
    // nOverrideMs, when not 0, takes the place of every interval but "Never".
    void SetChoice(int nAutoDelete, unsigned nOverrideMs = 0);
    bool IsRunning() const { return m_nIntervalMs != 0; }
    unsigned IntervalMs() const { return m_nIntervalMs; }
    // How long until the next tick falls due, at least 1; 0 when not running.
    unsigned MsUntilDue() const;
    // The timer went off: true when a tick falls due now. The next one falls
    // due a whole interval later.
    bool TakeDueTick();

    void BeginDeletion();
    bool IsDeletionRunning() const { return m_bDeleting; }
    // A tick is about to run: true, and the tick is put off, while a deletion runs.
    bool PutOffWhileDeleting();
    // The deletion has finished: true once when a tick was put off meanwhile
    // and the schedule still runs.
    bool EndDeletion();

private:
    Clock m_fnNowMs;
    unsigned m_nIntervalMs = 0;
    std::int64_t m_nDueMs = 0;
    bool m_bDeleting = false;
    bool m_bTickPutOff = false;
};
