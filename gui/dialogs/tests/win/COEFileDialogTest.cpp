#include <gtest/gtest.h>

#include "COEFileDialog.h"
#include "FileNameEdit.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {
const wchar_t kTitle[] = L"Pick files to convert";

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK ListChild(HWND child, LPARAM)
{
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    std::fprintf(stderr, "  child id 0x%x class %ls\n", ::GetDlgCtrlID(child), className);
    return TRUE;
}

// Plays the user: waits for the dialog, reads the name it shows, types three
// names and presses Open. A dialog that cannot be driven is cancelled, so
// that the test fails instead of waiting for ever.
void PickThreeFiles(std::wstring& shownName, std::atomic<bool>& found)
{
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 200; ++attempt) {
        dialog = ::FindWindowW(L"#32770", kTitle);
        HWND edit = dialog ? FileNameEdit(dialog) : nullptr;
        if (edit) {
            found = true;
            shownName = WindowText(edit);
            ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"a.txt\" \"b.txt\" \"c.txt\""));
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
            return;
        }
        ::Sleep(50);
    }
    if (!dialog)
        dialog = ::FindWindowW(L"#32770", nullptr);
    if (dialog) {
        ::EnumChildWindows(dialog, ListChild, 0);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

std::wstring MakeFolderWithFiles()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"ql-oefiledialog";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) {
        HANDLE file = ::CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
    }
    return folder;
}
}  // namespace

TEST(COEFileDialog, MultipleSelectionBufferAndStructure)
{
    COEFileDialog multi(true, nullptr, L"start.txt", OFN_ALLOWMULTISELECT, L"Text (*.txt)|*.txt||", nullptr);
    EXPECT_EQ(multi.BufferChars(), COEFileDialog::kSelectionBufferChars);
    EXPECT_EQ(multi.Ofn().nMaxFile, 1048576u);
    EXPECT_EQ(multi.Ofn().lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_STREQ(multi.Buffer(), L"start.txt");

    COEFileDialog single(true, nullptr, nullptr, 0, nullptr, nullptr);
    EXPECT_LT(single.BufferChars(), COEFileDialog::kSelectionBufferChars);
    EXPECT_STREQ(single.Buffer(), L"");
}

TEST(COEFileDialog, MultipleSelectionStartsWithTheInitialNameAndReturnsEveryPath)
{
    const std::wstring folder = MakeFolderWithFiles();
    COEFileDialog dialog(true, nullptr, L"initial name.txt", OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY,
                         L"Text Files (*.txt)|*.txt|All Files (*)|*||", nullptr);
    dialog.SetTitle(kTitle);
    dialog.SetInitialDir(folder);

    std::wstring shownName;
    std::atomic<bool> found{false};
    std::thread user(PickThreeFiles, std::ref(shownName), std::ref(found));
    INT_PTR result = dialog.DoModal();
    user.join();

    ASSERT_TRUE(found);
    EXPECT_EQ(shownName, L"initial name.txt");
    ASSERT_EQ(result, IDOK);
    std::vector<std::wstring> paths;
    for (size_t position = dialog.GetStartPosition(); position != 0;)
        paths.push_back(dialog.GetNextPathName(position));
    ASSERT_EQ(paths.size(), 3u);
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(paths[i].substr(0, folder.size()), folder);
        EXPECT_EQ(::GetFileAttributesW(paths[i].c_str()) != INVALID_FILE_ATTRIBUTES, true) << paths[i].c_str();
    }
}
