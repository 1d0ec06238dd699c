#include "Selection.h"
#include "StringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qlshell;

TEST(StringArrayTest, AppendGrowsByEightAndPreSizeAndClearResetCapacity) {
    CStringArray array;
    EXPECT_EQ(array.GetCapacity(), 0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(array.Append(std::to_wstring(i)), i);
    EXPECT_EQ(array.GetCount(), 9);
    EXPECT_EQ(array.GetCapacity(), 16);
    EXPECT_EQ(*array.GetAt(8), L"8");
    EXPECT_EQ(array.GetAt(9), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);

    array.PreSize(3);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetCapacity(), 3);
    for (int i = 0; i < 3; ++i) array.Append(L"x");
    EXPECT_EQ(array.GetCapacity(), 3);
    array.Append(L"");  // an empty entry is kept like any other
    EXPECT_EQ(array.GetCapacity(), 11);
    EXPECT_EQ(*array.GetAt(3), L"");

    CStringArray moved = std::move(array);
    EXPECT_EQ(moved.GetCount(), 4);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetCapacity(), 0);

    moved.Clear();
    EXPECT_EQ(moved.GetCount(), 0);
    EXPECT_EQ(moved.GetCapacity(), 0);
}

TEST(SelectionTest, FolderTestStopsAtTheFirstFolderAndBeginReplacesTheSelection) {
    std::vector<std::wstring> asked;
    auto isDirectory = [&asked](const std::wstring& path) {
        asked.push_back(path);
        return path.back() == L'\\' || path == L"C:\\src";
    };
    CSelection selection;
    selection.Begin(4);
    for (const wchar_t* path : {L"C:\\a.txt", L"C:\\src", L"C:\\b.txt", L"\\\\server\\share\\c.txt"})
        selection.Add(path, isDirectory);
    EXPECT_TRUE(selection.FolderSelected());
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\src"}));
    EXPECT_EQ(selection.Paths().Items(), (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\src", L"C:\\b.txt",
                                                                    L"\\\\server\\share\\c.txt"}));

    selection.Begin(1);
    selection.Add(L"C:\\c.txt", isDirectory);
    EXPECT_FALSE(selection.FolderSelected());
    EXPECT_EQ(selection.Paths().GetCount(), 1);
}

TEST(SelectionTest, OnlyFullyQualifiedPathsAreKeptSoNoneCanPassAsAnOption) {
    std::vector<std::wstring> asked;
    auto isDirectory = [&asked](const std::wstring& path) {
        asked.push_back(path);
        return true;
    };
    CSelection selection;
    selection.Begin(9);
    for (const wchar_t* path : {L"-h", L"/ss", L"-format", L"", L"a.txt", L"C:a.txt", L"\\a.txt", L"/", L"d:/x"})
        selection.Add(path, isDirectory);
    EXPECT_EQ(selection.Paths().Items(), (std::vector<std::wstring>{L"d:/x"}));
    // Left-out names are not asked about either, so they cannot choose the folder menu.
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"d:/x"}));

    selection.Begin(2);
    selection.Add(L"-ac", isDirectory);
    EXPECT_FALSE(selection.FolderSelected());
    EXPECT_EQ(selection.Paths().GetCount(), 0);
}
