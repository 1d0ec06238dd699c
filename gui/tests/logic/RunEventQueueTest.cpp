// The hand-over of a run's changes between two real threads: nothing is lost,
// nothing is reordered, and changes are never left waiting without a message.
#include "RunEventQueue.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

TEST(RunEventQueue, EveryChangeArrivesInOrderAndWaitingChangesAreAlwaysAnnounced)
{
    constexpr int kEvents = 200000;
    CRunEventQueue queue;
    // Stands in for the window's message queue: the number of messages posted.
    std::mutex mutex;
    std::condition_variable posted;
    int messages = 0;
    bool done = false;

    std::thread worker([&] {
        for (int i = 0; i < kEvents; ++i) {
            if (queue.Push({SRunEvent::kPercent, i, i % 101})) {
                std::lock_guard lock(mutex);
                ++messages;
                posted.notify_one();
            }
        }
        std::lock_guard lock(mutex);
        done = true;
        posted.notify_one();
    });

    // The window takes the queue only when a message arrives, so a change
    // pushed without a message would never be seen.
    int next = 0;
    int handled = 0;
    for (;;) {
        std::unique_lock lock(mutex);
        posted.wait(lock, [&] { return handled < messages || done; });
        if (handled == messages)
            break;
        ++handled;
        lock.unlock();
        for (const SRunEvent& event : queue.TakeAll()) {
            ASSERT_EQ(event.row, next) << "changes arrive once each, oldest first";
            ASSERT_EQ(event.value, next % 101);
            ++next;
        }
    }
    worker.join();
    EXPECT_EQ(next, kEvents);
    EXPECT_LE(messages, kEvents);

    // Once taken, the next change asks for a message again; later ones do not.
    EXPECT_TRUE(queue.Push({SRunEvent::kStatus, 1, 2}));
    EXPECT_FALSE(queue.Push({SRunEvent::kBegin, 2, 0}));
    EXPECT_EQ(queue.TakeAll().size(), 2u);
    EXPECT_TRUE(queue.TakeAll().empty());
    EXPECT_TRUE(queue.Push({SRunEvent::kStatus, 2, 1}));
}
