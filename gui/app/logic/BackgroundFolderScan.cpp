#include "BackgroundFolderScan.h"

#include <chrono>

CBackgroundFolderScan::CBackgroundFolderScan(qlfs::IFileSystem& fs, const std::wstring& folder,
                                             const std::wstring& filter, bool scanSubfolders,
                                             VisitedFolders& visited)
    : m_scan(fs, filter, scanSubfolders, visited,
             [this](const std::wstring& path) {
                 std::lock_guard lock(m_mutex);
                 m_paths.push_back(path);
                 // The first file of a batch wakes the taker; later ones join the batch.
                 if (m_paths.size() == 1)
                     m_found.notify_one();
             }),
      m_thread([this, folder] {
          m_scan.Scan(folder);
          std::lock_guard lock(m_mutex);
          m_done = true;
          m_found.notify_one();
      })
{
}

CBackgroundFolderScan::~CBackgroundFolderScan()
{
    m_scan.Stop();
    m_thread.join();
}

bool CBackgroundFolderScan::Take(std::vector<std::wstring>& paths, unsigned waitMs)
{
    paths.clear();
    std::unique_lock lock(m_mutex);
    m_found.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return m_done || !m_paths.empty(); });
    paths.swap(m_paths);
    return !(m_done && paths.empty());
}
