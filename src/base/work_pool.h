// Jobs done away from the caller's thread, started in the order given. A job that takes long
// holds up nothing but itself: when every thread has been on its job for longer than the
// pool's patience while others wait, one more thread takes them on, up to a limit. Threads
// end once nothing is left to do, so an idle pool costs no thread at all.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

template <typename Job>
class WorkPool {
public:
    struct Hooks {
        std::function<void()> threadStart;   // on each new thread before its first job
        std::function<void()> threadEnd;     // on each thread after its last job
        std::function<void(Job&)> run;       // must not throw
    };

    WorkPool(Hooks hooks, std::chrono::milliseconds patience, int maxThreads)
        : state_(std::make_shared<State>(std::move(hooks), patience, maxThreads < 1 ? 1 : maxThreads))
    {
    }
    // Drops the jobs not started yet. A thread still inside a job finishes it on its own and
    // ends; the pool's state lives on until it has.
    ~WorkPool()
    {
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        state_->queue.clear();
        state_->changed.notify_all();
        lock.unlock();
        if (watcher_.joinable()) {
            watcher_.join();
        }
    }
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // Puts these jobs in place of those not started yet; jobs under way go on.
    void Replace(std::vector<Job> jobs)
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->queue.clear();
        Enqueue(std::move(jobs));
    }
    // Appends these jobs after the ones waiting.
    void Add(std::vector<Job> jobs)
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        Enqueue(std::move(jobs));
    }
    // Whether no job waits and none is under way.
    bool Idle() const
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->queue.empty() && state_->busy == 0;
    }
    int Threads() const
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->threads;
    }

private:
    using Clock = std::chrono::steady_clock;

    struct State {
        State(Hooks h, std::chrono::milliseconds p, int m) : hooks(std::move(h)), patience(p), maxThreads(m)
        {
        }
        Hooks hooks;
        const std::chrono::milliseconds patience;
        const int maxThreads;
        mutable std::mutex mutex;
        std::condition_variable changed;
        std::deque<Job> queue;
        int threads = 0;   // running a job or waiting for one
        int busy = 0;      // running a job
        bool stopping = false;
        bool watching = false;
        Clock::time_point lastStart{};   // when a thread last took a job
    };

    // Called with the mutex held.
    void Enqueue(std::vector<Job> jobs)
    {
        if (jobs.empty() || state_->stopping) {
            return;
        }
        for (Job& job : jobs) {
            state_->queue.push_back(std::move(job));
        }
        if (state_->threads == 0) {
            StartThread(state_);
        }
        if (!state_->watching) {
            // The last watcher has ended (or never ran): a new one, joined before replacing it.
            if (watcher_.joinable()) {
                // It has left its loop (watching is false) and only returns now.
                std::thread old = std::move(watcher_);
                state_->mutex.unlock();
                old.join();
                state_->mutex.lock();
            }
            state_->watching = true;
            watcher_ = std::thread(Watch, state_);
        }
        state_->changed.notify_all();
    }

    // Called with the mutex held.
    static void StartThread(const std::shared_ptr<State>& state)
    {
        ++state->threads;
        std::thread(Work, state).detach();
    }

    static void Work(std::shared_ptr<State> state)
    {
        if (state->hooks.threadStart) {
            state->hooks.threadStart();
        }
        std::unique_lock<std::mutex> lock(state->mutex);
        while (!state->stopping && !state->queue.empty()) {
            Job job = std::move(state->queue.front());
            state->queue.pop_front();
            ++state->busy;
            state->lastStart = Clock::now();
            state->changed.notify_all();
            lock.unlock();
            state->hooks.run(job);
            lock.lock();
            --state->busy;
        }
        --state->threads;
        state->changed.notify_all();
        lock.unlock();
        if (state->hooks.threadEnd) {
            state->hooks.threadEnd();
        }
    }

    // Adds a thread when jobs wait while every thread has been busy for the whole patience;
    // ends when the queue is empty.
    static void Watch(std::shared_ptr<State> state)
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        while (!state->stopping && !state->queue.empty()) {
            if (state->threads == 0 || state->busy < state->threads) {
                if (state->threads == 0) {
                    StartThread(state);
                }
                state->changed.wait(lock);
                continue;
            }
            const Clock::time_point due = state->lastStart + state->patience;
            if (Clock::now() >= due && state->threads < state->maxThreads) {
                StartThread(state);
                state->lastStart = Clock::now();
                continue;
            }
            if (state->threads < state->maxThreads) {
                state->changed.wait_until(lock, due);
            } else {
                state->changed.wait(lock);
            }
        }
        state->watching = false;
    }

    std::shared_ptr<State> state_;
    std::thread watcher_;   // owned: joined before another starts and at the end
};
