#include <gtest/gtest.h>

#include "ReservedDeviceName.h"

TEST(ReservedDeviceName, DevicesWithAndWithoutExtensionsInAnyFolder)
{
    for (const wchar_t* name : {L"CON", L"nul", L"Aux.txt", L"prn.tar.gz", L"COM1", L"lpt9.log", L"C:\\src\\nul.h",
                                L"dir/con", L"C:com3", L"NUL .txt", L"con."})
        EXPECT_TRUE(IsReservedDeviceName(name)) << name;
    for (const wchar_t* name : {L"CONSOLE", L"nul2", L"COM0", L"COM10", L"LPT", L"xcon", L"con\\file.txt",
                                L"my nul", L"", L"C:\\nul\\x.txt"})
        EXPECT_FALSE(IsReservedDeviceName(name)) << name;
}
