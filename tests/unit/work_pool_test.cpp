#include "base/work_pool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;

// Jobs note their number when done; job 1 waits until let go. Waits give up after a minute,
// so that a lost job fails instead of hanging.
struct PoolLog {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> done;
    bool letGo = false, holding = false;
    int threadsStarted = 0, threadsEnded = 0;

    WorkPool<int>::Hooks Hooks()
    {
        auto note = [this](int job) {
            std::unique_lock<std::mutex> lock(mutex);
            holding = holding || job == 1;
            changed.notify_all();
            changed.wait(lock, [&] { return job != 1 || letGo; });
            (job > 0 ? done.push_back(job) : void(++(job ? threadsStarted : threadsEnded)));
            changed.notify_all();
        };
        return {[note] { note(-1); }, [note] { note(0); }, [note](int& job) { note(job); }};
    }
    template <typename Done>
    bool WaitFor(Done isDone)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 60s, isDone);
    }
    void LetGo()
    {
        std::lock_guard<std::mutex> lock(mutex);
        letGo = true;
        changed.notify_all();
    }
};

TEST(WorkPoolTest, JobsStartInTheirOrderAndAReplacementDropsThoseNotStarted)
{
    PoolLog log;
    WorkPool<int> pool(log.Hooks(), 10s, 4);
    pool.Add({1, 2, 3});
    ASSERT_TRUE(log.WaitFor([&] { return log.holding; }));
    pool.Add({4});
    pool.Replace({5, 6});
    pool.Add({7});
    EXPECT_FALSE(pool.Idle());
    log.LetGo();
    ASSERT_TRUE(log.WaitFor([&] { return log.threadsEnded == 1; })) << "the thread ends once nothing is left";
    EXPECT_EQ((std::vector<int>{1, 5, 6, 7}), log.done) << "one thread: no job took longer than the patience";
    EXPECT_TRUE(pool.Idle());
}

TEST(WorkPoolTest, AJobThatDoesNotEndHoldsUpOnlyItselfAndMayOutliveThePool)
{
    auto log = std::make_shared<PoolLog>();
    {
        WorkPool<int> pool(log->Hooks(), 20ms, 2);
        pool.Add({1, 2, 3, 4});
        ASSERT_TRUE(log->WaitFor([&] { return log->done.size() == 3; }));
        EXPECT_EQ((std::vector<int>{2, 3, 4}), log->done) << "another thread took them on";
        pool.Add({5});
        ASSERT_TRUE(log->WaitFor([&] { return log->done.size() == 4; }));
    }
    log->LetGo();
    ASSERT_TRUE(log->WaitFor([&] { return log->threadsEnded == log->threadsStarted; }))
        << "the held job's thread ends alone";
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5, 1}), log->done);
}
