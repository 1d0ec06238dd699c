// The rule that turns a path into what the Win32 backend hands to Windows:
// resolved and normalised as Windows does it, and in the "\\?\" form from
// MAX_PATH characters on.
#include <gtest/gtest.h>

#include <string>

#include "fs/logic/Win32PathForm.h"

namespace {

using qlfs::kWin32MaxPath;
using qlfs::Win32FullPath;
using qlfs::Win32LongPath;

class CFakeFolders final : public qlfs::IWin32CurrentFolders {
public:
    explicit CFakeFolders(std::wstring current) : m_current(std::move(current)) {}
    std::wstring CurrentFolder() override { return m_current; }
    std::wstring CurrentFolderOfDrive(wchar_t drive) override { return std::wstring{drive, L':', L'\\'} + L"kept"; }

private:
    std::wstring m_current;
};

// "C:\" followed by names of ten characters and one shorter name, `length`
// characters in all.
std::wstring DrivePathOfLength(size_t length)
{
    std::wstring path = L"C:";
    while (path.size() + 11 <= length)
        path += L"\\dddddddddd";
    path += L'\\';
    path.append(length - path.size(), L'f');
    return path;
}

}  // namespace

TEST(Win32PathForm, DrivePathsAreNormalisedAsWindowsDoes)
{
    CFakeFolders folders(L"C:\\work");
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\a\\b.txt", L"C:\\a\\b.txt"},
        {L"c:/a/b.txt", L"c:\\a\\b.txt"},
        {L"C:\\a\\\\\\b//c", L"C:\\a\\b\\c"},
        {L"C:\\a\\.\\b\\..\\c", L"C:\\a\\c"},
        {L"C:\\..\\..\\x", L"C:\\x"},
        {L"C:\\a\\..", L"C:\\"},
        {L"C:\\a\\b\\..", L"C:\\a"},
        {L"C:\\a\\b\\..\\", L"C:\\a\\"},
        {L"C:\\a\\.", L"C:\\a"},
        {L"C:\\a\\", L"C:\\a\\"},
        {L"C:\\", L"C:\\"},
        // Windows drops one dot ending a folder name, and all dots and blanks
        // ending the last name, unless a separator follows it.
        {L"C:\\a.\\b", L"C:\\a\\b"},
        {L"C:\\a..\\b", L"C:\\a.\\b"},
        {L"C:\\a\\b. . ", L"C:\\a\\b"},
        {L"C:\\a \\b", L"C:\\a \\b"},
        {L"C:\\a\\b \\", L"C:\\a\\b \\"},
        {L"C:\\a\\ .", L"C:\\a\\"},
        {L"C:\\a\\...\\b", L"C:\\a\\..\\b"},
    };
    for (const auto& [given, full] : cases) {
        EXPECT_EQ(full, Win32FullPath(given, folders)) << given;
        EXPECT_EQ(full, Win32LongPath(given, folders)) << given;
    }
}

TEST(Win32PathForm, UncAndDevicePathsKeepTheirRoot)
{
    CFakeFolders folders(L"C:\\work");
    EXPECT_EQ(L"\\\\srv\\share\\b", Win32FullPath(L"\\\\srv\\share\\a\\..\\b", folders));
    EXPECT_EQ(L"\\\\srv\\share\\x", Win32FullPath(L"\\\\srv\\share\\..\\..\\x", folders));
    EXPECT_EQ(L"\\\\srv\\share\\x\\y", Win32FullPath(L"//srv/share/x//y", folders));
    EXPECT_EQ(L"\\\\srv\\share\\x", Win32FullPath(L"\\\\srv\\\\share\\x", folders));
    EXPECT_EQ(L"\\\\srv\\share", Win32FullPath(L"\\\\srv\\share", folders));
    EXPECT_EQ(L"\\\\.\\C:\\b", Win32FullPath(L"//./C:/a/../b", folders));
}

TEST(Win32PathForm, RelativePathsResolveAgainstTheCurrentFolders)
{
    CFakeFolders onDrive(L"C:\\work\\dir");
    EXPECT_EQ(L"C:\\work\\dir\\a.txt", Win32FullPath(L"a.txt", onDrive));
    EXPECT_EQ(L"C:\\work\\dir\\sub\\a.txt", Win32FullPath(L"sub/./a.txt", onDrive));
    EXPECT_EQ(L"C:\\work\\a.txt", Win32FullPath(L"..\\a.txt", onDrive));
    EXPECT_EQ(L"C:\\a.txt", Win32FullPath(L"..\\..\\..\\..\\a.txt", onDrive));
    EXPECT_EQ(L"C:\\work\\dir", Win32FullPath(L".", onDrive));
    EXPECT_EQ(L"C:\\a.txt", Win32FullPath(L"\\a.txt", onDrive));
    EXPECT_EQ(L"C:\\work\\dir\\a.txt", Win32FullPath(L"c:a.txt", onDrive));
    EXPECT_EQ(L"C:\\work\\dir", Win32FullPath(L"C:", onDrive));
    EXPECT_EQ(L"D:\\kept\\a.txt", Win32FullPath(L"D:a.txt", onDrive));
    EXPECT_EQ(L"D:\\a.txt", Win32FullPath(L"D:..\\a.txt", onDrive));

    CFakeFolders onShare(L"\\\\srv\\share\\w");
    EXPECT_EQ(L"\\\\srv\\share\\w\\a.txt", Win32FullPath(L"a.txt", onShare));
    EXPECT_EQ(L"\\\\srv\\share\\a.txt", Win32FullPath(L"\\a.txt", onShare));
    EXPECT_EQ(L"\\\\srv\\share\\a.txt", Win32FullPath(L"..\\..\\a.txt", onShare));
    EXPECT_EQ(L"E:\\kept\\a.txt", Win32FullPath(L"E:a.txt", onShare));

    // A current folder that cannot be read leaves the path as it was given.
    CFakeFolders unknown(L"");
    EXPECT_EQ(L"a.txt", Win32FullPath(L"a.txt", unknown));
    EXPECT_EQ(L"", Win32LongPath(L"", unknown));
}

TEST(Win32PathForm, LiteralPathsPassUnchanged)
{
    CFakeFolders folders(L"C:\\work");
    const std::wstring longName(300, L'n');
    const std::wstring literals[] = {L"\\\\?\\C:\\a\\..\\b.", L"\\??\\C:\\a/./b", L"\\\\?\\UNC\\srv\\share\\x",
                                     L"\\\\?\\C:\\" + longName};
    for (const std::wstring& given : literals) {
        EXPECT_EQ(given, Win32FullPath(given, folders));
        EXPECT_EQ(given, Win32LongPath(given, folders));
    }
}

TEST(Win32PathForm, TheLongFormStartsAtMaxPath)
{
    CFakeFolders folders(L"C:\\work");
    const std::wstring at259 = DrivePathOfLength(kWin32MaxPath - 1);
    const std::wstring at260 = DrivePathOfLength(kWin32MaxPath);
    const std::wstring at261 = DrivePathOfLength(kWin32MaxPath + 1);
    ASSERT_EQ(259u, at259.size());
    ASSERT_EQ(260u, at260.size());
    EXPECT_EQ(at259, Win32LongPath(at259, folders));
    EXPECT_EQ(L"\\\\?\\" + at260, Win32LongPath(at260, folders));
    EXPECT_EQ(L"\\\\?\\" + at261, Win32LongPath(at261, folders));

    // The length that counts is the normalised one.
    std::wstring slashed = at260;
    for (wchar_t& c : slashed)
        if (c == L'\\')
            c = L'/';
    EXPECT_EQ(L"\\\\?\\" + at260, Win32LongPath(slashed, folders));
    EXPECT_EQ(at259, Win32LongPath(L"C:\\x\\..\\" + at259.substr(3), folders));
    EXPECT_EQ(L"\\\\?\\" + at260, Win32LongPath(L"C:\\x\\..\\" + at260.substr(3), folders));

    // A short relative name under a deep current folder.
    CFakeFolders deep(at259.substr(0, at259.rfind(L'\\')));
    EXPECT_EQ(at259, Win32LongPath(at259.substr(at259.rfind(L'\\') + 1), deep));
    EXPECT_EQ(L"\\\\?\\" + at259 + L".tmp", Win32LongPath(at259.substr(at259.rfind(L'\\') + 1) + L".tmp", deep));

    // UNC paths take the "\\?\UNC\" form, device paths the "\\?\" one.
    std::wstring unc259 = L"\\\\srv\\share\\";
    unc259.append(kWin32MaxPath - 1 - unc259.size(), L'u');
    EXPECT_EQ(unc259, Win32LongPath(unc259, folders));
    EXPECT_EQ(L"\\\\?\\UNC\\srv\\share\\" + unc259.substr(12) + L"u", Win32LongPath(unc259 + L"u", folders));
    EXPECT_EQ(L"\\\\?\\" + at260, Win32LongPath(L"\\\\.\\" + at260, folders));
}
