#include "app/auto_delete_schedule.h"

#include <gtest/gtest.h>

namespace
{
struct CFakeClock
{
    std::int64_t nNowMs = 5000;
    CAutoDeleteSchedule::Clock Clock()
    {
        return [this] { return nNowMs; };
    }
};
} // namespace

TEST(AutoDeleteSchedule, TicksFallDueEveryIntervalFromTheLastChoice)
{
    CFakeClock clock;
    CAutoDeleteSchedule schedule(clock.Clock());
    schedule.SetChoice(1);
    EXPECT_EQ(schedule.MsUntilDue(), 60000u);
    clock.nNowMs += 59999;
    EXPECT_FALSE(schedule.TakeDueTick()); // a timer that goes off early runs nothing
    EXPECT_EQ(schedule.MsUntilDue(), 1u);
    clock.nNowMs += 1;
    EXPECT_TRUE(schedule.TakeDueTick());
    EXPECT_FALSE(schedule.TakeDueTick()); // once per period
    EXPECT_EQ(schedule.MsUntilDue(), 60000u);

    // Options OK with another choice: the new interval, counted from then.
    clock.nNowMs += 30000;
    schedule.SetChoice(2);
    EXPECT_EQ(schedule.MsUntilDue(), 1800000u);
    clock.nNowMs += 60000;
    EXPECT_FALSE(schedule.TakeDueTick());
    schedule.SetChoice(3, 40); // the test interval stands in for every choice but Never
    EXPECT_EQ(schedule.IntervalMs(), 40u);

    for (int nNever : {0, 4, -1})
    {
        schedule.SetChoice(nNever, 40);
        EXPECT_FALSE(schedule.IsRunning()) << nNever;
        clock.nNowMs += 3600000;
        EXPECT_FALSE(schedule.TakeDueTick()) << nNever;
    }
}

TEST(AutoDeleteSchedule, ATickDuringADeletionRunsOnceAfterIt)
{
    CFakeClock clock;
    CAutoDeleteSchedule schedule(clock.Clock());
    schedule.SetChoice(1, 100);
    EXPECT_FALSE(schedule.PutOffWhileDeleting());
    EXPECT_FALSE(schedule.EndDeletion()); // no deletion, nothing put off

    schedule.BeginDeletion();
    for (int i = 0; i < 3; ++i)
    {
        clock.nNowMs += 100;
        ASSERT_TRUE(schedule.TakeDueTick());
        EXPECT_TRUE(schedule.PutOffWhileDeleting());
    }
    EXPECT_TRUE(schedule.EndDeletion());
    EXPECT_FALSE(schedule.PutOffWhileDeleting());
    EXPECT_FALSE(schedule.EndDeletion()); // not twice

    // A deletion without a tick puts nothing off.
    schedule.BeginDeletion();
    EXPECT_FALSE(schedule.EndDeletion());
}

TEST(AutoDeleteSchedule, ATickPutOffIsDroppedWhenTheChoiceTurnsNever)
{
    CFakeClock clock;
    CAutoDeleteSchedule schedule(clock.Clock());
    schedule.SetChoice(2);
    schedule.BeginDeletion();
    EXPECT_TRUE(schedule.PutOffWhileDeleting());
    schedule.SetChoice(1); // still running: the tick stays put off
    EXPECT_TRUE(schedule.EndDeletion());

    schedule.BeginDeletion();
    EXPECT_TRUE(schedule.PutOffWhileDeleting());
    schedule.SetChoice(0);
    EXPECT_FALSE(schedule.EndDeletion());
}
