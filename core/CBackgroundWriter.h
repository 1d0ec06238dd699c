#pragma once
// Writes converted blocks to a file on a second thread, in order, so that
// converting the next block overlaps with the kernel copying the last one
// into the file. The caller keeps converting on its own thread (progress
// callbacks included); only the writes move.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "fs/IFileSystem.h"

class CBackgroundWriter {
public:
    explicit CBackgroundWriter(qlfs::IWriteFile& file);
    ~CBackgroundWriter();  // waits for the queued writes
    CBackgroundWriter(const CBackgroundWriter&) = delete;
    CBackgroundWriter& operator=(const CBackgroundWriter&) = delete;

    // Queues the first `size` bytes of `block`, taking its storage; `block`
    // comes back holding a written buffer to reuse, or empty. Waits while
    // enough is queued. False once any write has failed.
    bool Submit(std::vector<uint8_t>& block, size_t size);
    // Waits until everything queued is written. False if any write failed.
    bool Finish();

private:
    struct SBlock {
        std::vector<uint8_t> data;
        size_t size;
    };
    static constexpr size_t kMaxQueued = 4;

    void Run() noexcept;

    qlfs::IWriteFile& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<SBlock> m_queue;
    std::vector<std::vector<uint8_t>> m_spares;
    bool m_writing = false;
    bool m_stopping = false;
    bool m_failed = false;
    bool m_inline = false;  // no writer thread: Submit writes at once
    std::thread m_thread;
};
