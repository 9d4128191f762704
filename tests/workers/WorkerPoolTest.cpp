// The worker pool's contract: bounded, jobs in order, detached.

#include "workers/WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace hv {
namespace {

// What the jobs of a test share with it; they hold it by shared_ptr, so a
// job still running after its pool is gone finds it alive.
struct Board {
    std::mutex mutex;
    std::condition_variable changed;
    bool gateOpen = false;
    int running = 0;
    int mostRunning = 0;
    std::vector<int> started;
    int finished = 0;

    // A job that counts itself in, waits for the gate, and counts itself out.
    static WorkerPool::Job job(const std::shared_ptr<Board>& board, int id) {
        return [board, id] {
            std::unique_lock lock(board->mutex);
            board->started.push_back(id);
            board->mostRunning = std::max(board->mostRunning, ++board->running);
            board->changed.notify_all();
            board->changed.wait(lock, [&] { return board->gateOpen; });
            --board->running;
            ++board->finished;
            board->changed.notify_all();
        };
    }
    void waitUntil(auto done) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return done(*this); });
    }
    void openGate() {
        const std::lock_guard lock(mutex);
        gateOpen = true;
        changed.notify_all();
    }
};

TEST(WorkerPoolTest, RunsEveryJobOldestFirstAtMostMaxThreadsAtOnce) {
    const auto board = std::make_shared<Board>();
    WorkerPool pool(3);
    ASSERT_TRUE(pool.submit([] { throw std::runtime_error("a job that throws ends alone"); }));
    for (int id = 0; id < 10; ++id) ASSERT_TRUE(pool.submit(Board::job(board, id)));

    board->waitUntil([](Board& b) { return b.running == 3; });
    board->openGate();
    board->waitUntil([](Board& b) { return b.finished == 10; });

    EXPECT_EQ(board->mostRunning, 3);
    for (int id = 0; id < 3; ++id) EXPECT_LT(board->started[id], 3) << "the oldest jobs start first";
}

TEST(WorkerPoolTest, DestructionDoesNotWaitForTheRunningJobAndDropsTheQueuedOnes) {
    const auto board = std::make_shared<Board>();
    std::weak_ptr<int> queued;
    {
        WorkerPool pool(1);
        ASSERT_TRUE(pool.submit(Board::job(board, 0)));
        auto token = std::make_shared<int>(0);
        queued = token;
        ASSERT_TRUE(pool.submit([token = std::move(token), board] { Board::job(board, 1)(); }));
        board->waitUntil([](Board& b) { return b.running == 1; });
    } // returns with job 0 still waiting at the gate
    EXPECT_TRUE(queued.expired()) << "the job not started was dropped";

    board->openGate();
    board->waitUntil([](Board& b) { return b.finished == 1; });
    EXPECT_EQ(board->started, std::vector<int>{0});
}

} // namespace
} // namespace hv
