#include <gtest/gtest.h>

#include "CRgsPreprocessor.h"

using qlcom::CRgsPreprocessor;

TEST(CRgsPreprocessor, ExpandsNamesWithoutRegardToCaseAndDoublePercent) {
    CRgsPreprocessor pre;
    pre.AddReplacement(L"Module", L"C:\\x\\QLTC_WS.dll");
    pre.AddReplacement(L"APPID", L"{A}");
    pre.AddReplacement(L"appid", L"{B}"); // same name: replaces
    std::wstring out;
    ASSERT_TRUE(pre.Expand(L"s '%MODULE%' %AppId% 100%% %module%", out));
    EXPECT_EQ(L"s 'C:\\x\\QLTC_WS.dll' {B} 100% C:\\x\\QLTC_WS.dll", out);
    ASSERT_TRUE(pre.Expand(L"%%%%", out));
    EXPECT_EQ(L"%%", out);
}

TEST(CRgsPreprocessor, RejectsUnknownOverlongAndUnclosedNames) {
    CRgsPreprocessor pre;
    const std::wstring name31(31, L'N');
    const std::wstring name32(32, L'N');
    pre.AddReplacement(name31, L"ok");
    pre.AddReplacement(name32, L"never");
    std::wstring out;
    EXPECT_TRUE(pre.Expand(L"%" + name31 + L"%", out));
    EXPECT_EQ(L"ok", out);
    EXPECT_FALSE(pre.Expand(L"%" + name32 + L"%", out));
    EXPECT_FALSE(pre.Expand(L"'%UNKNOWN%'", out));
    EXPECT_FALSE(pre.Expand(L"'%MODULE'", out));
}

TEST(CRgsPreprocessor, PerUserRewriteWrapsTheLeadingBlock) {
    std::wstring text = L"HKCR\r\n{\r\n\tNoRemove '{x}}' { a }\r\n}\r\nHKLM { b }";
    ASSERT_TRUE(CRgsPreprocessor::RewriteForPerUser(text));
    EXPECT_EQ(L"HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses\r\n{\r\n\tNoRemove '{x}}' { a }\r\n"
              L"\r\n\t}\r\n}\r\n}\r\nHKLM { b }",
              text);

    for (std::wstring other : {L"HKLM { a }", L"HKCRX { a }", L"HKCR { a ", L"  "}) {
        const std::wstring before = other;
        EXPECT_FALSE(CRgsPreprocessor::RewriteForPerUser(other));
        EXPECT_EQ(before, other);
    }
}
