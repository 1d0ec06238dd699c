// The threaded listing against the plain one over an in-memory tree: the same
// files in the same order, and a stop that ends it early without hanging.
#include "BackgroundFolderScan.h"
#include "FaultyFileSystemSupport.h"

#include <gtest/gtest.h>

#ifndef _WIN32
namespace {
std::vector<std::wstring> TakeAll(CBackgroundFolderScan& scan)
{
    std::vector<std::wstring> all, batch;
    while (scan.Take(batch, 20))
        all.insert(all.end(), batch.begin(), batch.end());
    return all;
}

// `folders` folders of `files` files each under /t, half of them *.txt, and
// an empty subfolder in each.
void MakeTree(CFaultyFileSystem& files, int folders, int filesEach)
{
    files.AddFolder(L"/t");
    for (int folder = 0; folder < folders; ++folder) {
        const std::wstring path = L"/t/d" + std::to_wstring(folder);
        files.AddFolder(path);
        files.AddFolder(path + L"/empty");
        for (int file = 0; file < filesEach; ++file)
            files.AddFile(path + L"/f" + std::to_wstring(file) + (file % 2 ? L".txt" : L".dat"), "x");
    }
}
}
#endif

TEST(BackgroundFolderScan, FindsWhatThePlainScanFindsInItsOrderAndStopsEarly)
{
#ifdef _WIN32
    GTEST_SKIP() << "the in-memory tree uses POSIX separators; the window's test covers Windows";
#else
    CFaultyFileSystem files;
    MakeTree(files, 8, 300);
    for (bool subfolders : {true, false}) {
        VisitedFolders plainVisited;
        std::vector<std::wstring> plain;
        CFolderScan(files, L"*.txt", subfolders, plainVisited, [&](const std::wstring& path) { plain.push_back(path); })
            .Scan(L"/t");

        VisitedFolders visited;
        CBackgroundFolderScan scan(files, L"/t", L"*.txt", subfolders, visited);
        EXPECT_EQ(TakeAll(scan), plain);
        EXPECT_EQ(plain.size(), subfolders ? 8u * 150u : 0u);
    }

    // Stopped at its first batch, the listing ends far short of a large tree
    // (listing all of it takes the in-memory folders a good fraction of a second).
    CFaultyFileSystem large;
    MakeTree(large, 40, 5000);
    VisitedFolders visited;
    CBackgroundFolderScan scan(large, L"/t", L"*", true, visited);
    std::vector<std::wstring> first;
    while (first.empty() && scan.Take(first, 1000)) {
    }
    scan.Stop();
    EXPECT_LT(first.size() + TakeAll(scan).size(), 40u * 5000u);

    // Destroyed while listing: the destructor stops and waits.
    VisitedFolders again;
    { CBackgroundFolderScan abandoned(large, L"/t", L"*", true, again); }
#endif
}
