#pragma once
// Classes: CBackgroundFolderScan. Lists a folder (and its subfolders) on a
// thread of its own, so that the window can add the rows found so far while
// the listing goes on: adding a large folder then takes about as long as the
// slower of the two instead of both together. Files arrive in the order the
// scan finds them.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CFolderScan.h"

class CBackgroundFolderScan {
public:
    // `fs` and `visited` must outlive the scan; only its thread uses them until it ends.
    CBackgroundFolderScan(qlfs::IFileSystem& fs, const std::wstring& folder, const std::wstring& filter,
                          bool scanSubfolders, VisitedFolders& visited);
    // Stops the listing and waits for its thread.
    ~CBackgroundFolderScan();
    CBackgroundFolderScan(const CBackgroundFolderScan&) = delete;
    CBackgroundFolderScan& operator=(const CBackgroundFolderScan&) = delete;

    // Replaces `paths` with the files found since the last call, waiting up to
    // waitMs while none are there. False once the listing has ended and every
    // file has been taken.
    bool Take(std::vector<std::wstring>& paths, unsigned waitMs);
    // The listing ends early; files found so far can still be taken.
    void Stop() { m_scan.Stop(); }

private:
    CFolderScan m_scan;
    std::mutex m_mutex;
    std::condition_variable m_found;
    std::vector<std::wstring> m_paths;
    bool m_done = false;
    std::thread m_thread;  // last: it starts once everything above exists
};
