#include "CBackgroundWriter.h"

#include <utility>

#include "ThreadStart.h"

CBackgroundWriter::CBackgroundWriter(qlfs::IWriteFile& file) : m_file(file)
{
    // Room for every buffer there can be, so that the writer thread never allocates.
    m_spares.reserve(kMaxQueued + 2);
    // Without a thread to be had (a process limit), the blocks are written
    // on the caller's thread as they come: slower, never lost.
    m_inline = !TryStartThread(m_thread, [this] { Run(); });
}

CBackgroundWriter::~CBackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool CBackgroundWriter::Submit(std::vector<uint8_t>& block, size_t size)
{
    if (m_inline) {
        if (!m_failed && size > 0 && !m_file.Write(block.data(), size))
            m_failed = true;
        return !m_failed;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || m_queue.size() < kMaxQueued; });
    if (m_failed)
        return false;
    m_queue.push_back({std::move(block), size});
    block.clear();
    if (!m_spares.empty()) {
        block = std::move(m_spares.back());
        m_spares.pop_back();
    }
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool CBackgroundWriter::Finish()
{
    if (m_inline)
        return !m_failed;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || (m_queue.empty() && !m_writing); });
    return !m_failed;
}

void CBackgroundWriter::Run() noexcept
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        // Stopping drops what is still queued: the caller has given up on the file.
        if (m_queue.empty() || m_stopping)
            return;
        SBlock block = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        lock.unlock();
        bool written = block.size == 0 || m_file.Write(block.data.data(), block.size);
        lock.lock();
        m_writing = false;
        if (!written)
            m_failed = true;
        if (m_spares.size() < m_spares.capacity())
            m_spares.push_back(std::move(block.data));
        m_changed.notify_all();
    }
}
