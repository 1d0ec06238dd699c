// Quillet.exe converting files named on its command line, to the end: the
// files, the process's own exit and what it leaves in the registry.
#include "CQuilletProcess.h"
#include "CTestQuilletDlg.h"
#include "QuilletKeyTest.h"

#include <gtest/gtest.h>

namespace {
class QuilletEndToEnd : public QuilletKeyTest {};
}

TEST_F(QuilletEndToEnd, FormatLfAutoStartAndAutoCloseConvertAndExit)
{
    Write(L"Settings", L"AutoClose", 0);
    Write(L"Settings", L"Format", 0);
    Write(L"Settings", L"KeepTimestamps", 0);
    Write(L"Settings", L"BackupOriginal", 0);
    CTempFolder temp;
    const std::wstring a = temp.Write(L"a.txt", "one\r\ntwo\r\n");
    const std::wstring b = temp.Write(L"b b.txt", "three\rfour\r\n");

    CQuilletProcess quillet;
    ASSERT_TRUE(quillet.Start(L"-format lf -as -ac -kt \"" + a + L"\" \"" + b + L"\""));
    DWORD exitCode = 1;
    ASSERT_TRUE(quillet.WaitForExit(exitCode)) << "the program closes by itself";
    EXPECT_EQ(exitCode, 0u);

    EXPECT_EQ(temp.Read(L"a.txt"), "one\ntwo\n");
    EXPECT_EQ(temp.Read(L"b b.txt"), "three\nfour\n");
    EXPECT_EQ(Dword(L"Settings", L"AutoClose"), 0u) << "-ac is not the user's choice";
    EXPECT_EQ(Dword(L"Settings", L"Format"), 2u);
    EXPECT_EQ(Dword(L"Settings", L"KeepTimestamps"), 1u);
    EXPECT_EQ(Dword(L"Settings", L"BackupOriginal"), 0u);
    EXPECT_FALSE(temp.Read(L"a.txt.bak").size());
}
