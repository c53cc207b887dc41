#include "base/work_pool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Jobs that note their number when they run; a job numbered `held` waits until let go.
struct Log {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> done;
    bool letGo = false;
    int held = -1;
    bool holding = false;   // the held job is under way
    int threadsStarted = 0;
    int threadsEnded = 0;

    WorkPool<int>::Hooks Hooks()
    {
        return {[this] {
                    std::lock_guard<std::mutex> lock(mutex);
                    ++threadsStarted;
                },
                [this] {
                    std::lock_guard<std::mutex> lock(mutex);
                    ++threadsEnded;
                    changed.notify_all();
                },
                [this](int& job) {
                    std::unique_lock<std::mutex> lock(mutex);
                    if (job == held) {
                        holding = true;
                        changed.notify_all();
                        changed.wait(lock, [this] { return letGo; });
                    }
                    done.push_back(job);
                    changed.notify_all();
                }};
    }
    // Waits for a state to come (60 s at most, so that a lost job fails instead of hanging).
    template <typename Done>
    bool WaitFor(Done doneCheck)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 60s, [&] { return doneCheck(); });
    }
    void LetGo()
    {
        std::lock_guard<std::mutex> lock(mutex);
        letGo = true;
        changed.notify_all();
    }
};

}   // namespace

TEST(WorkPoolTest, OneThreadDoesTheJobsInTheirOrderAndEndsWhenDone)
{
    Log log;
    WorkPool<int> pool(log.Hooks(), 10s, 4);
    pool.Add({1, 2, 3});
    pool.Add({4, 5});
    ASSERT_TRUE(log.WaitFor([&] { return log.done.size() == 5; }));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), log.done);
    ASSERT_TRUE(log.WaitFor([&] { return pool.Threads() == 0; }));
    EXPECT_TRUE(pool.Idle());
    EXPECT_EQ(1, log.threadsStarted) << "no job took longer than the patience";
}

TEST(WorkPoolTest, ReplacingDropsTheJobsNotStartedAndLetsTheOneUnderWayFinish)
{
    Log log;
    log.held = 1;
    WorkPool<int> pool(log.Hooks(), 10s, 1);
    pool.Add({1, 2, 3});
    pool.Replace({7, 8});
    EXPECT_FALSE(pool.Idle());
    log.LetGo();
    ASSERT_TRUE(log.WaitFor([&] { return !log.done.empty() && log.done.back() == 8; }));
    // Job 1 may have started before the replacement or been dropped with 2 and 3.
    std::vector<int> expected{7, 8};
    if (log.done.size() == 3)
        expected.insert(expected.begin(), 1);
    EXPECT_EQ(expected, log.done);
}

TEST(WorkPoolTest, AJobThatDoesNotEndHoldsUpOnlyItselfUpToTheThreadLimit)
{
    Log log;
    log.held = 1;
    WorkPool<int> pool(log.Hooks(), 20ms, 2);
    pool.Add({1, 2, 3, 4});
    // Another thread takes on the jobs behind the one that waits.
    ASSERT_TRUE(log.WaitFor([&] { return log.done.size() == 3; }));
    EXPECT_EQ((std::vector<int>{2, 3, 4}), log.done);
    EXPECT_FALSE(pool.Idle());
    log.LetGo();
    ASSERT_TRUE(log.WaitFor([&] { return log.done.size() == 4; }));
    ASSERT_TRUE(log.WaitFor([&] { return pool.Threads() == 0; }));
    EXPECT_EQ(2, log.threadsStarted);
}

TEST(WorkPoolTest, APoolGoneWhileAJobWaitsLeavesTheThreadToFinishAlone)
{
    auto log = std::make_shared<Log>();
    log->held = 1;
    {
        WorkPool<int> pool(log->Hooks(), 10s, 1);
        pool.Add({1, 2});
        ASSERT_TRUE(log->WaitFor([&] { return log->holding; }));
    }
    log->LetGo();
    ASSERT_TRUE(log->WaitFor([&] { return !log->done.empty(); }));
    EXPECT_EQ((std::vector<int>{1}), log->done) << "the job not started is dropped";
    EXPECT_TRUE(log->WaitFor([&] { return log->threadsEnded == 1; }));
}
