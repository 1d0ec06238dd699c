// The whole Windows chain: the registered extension's "Convert to LF" starts
// the real Quillet.exe from "AppFolder", which converts the selected files
// and closes by itself.
#include "HandlerFixture.h"

using namespace qltest;

namespace {
const wchar_t kAppKey[] = L"Software\\Varnel\\Quillet";
// The submenu offset of "Convert to LF" for a selection of files.
const UINT kConvertToLf = 2;

class WholeChain : public HandlerFixture {
protected:
    void SetUp() override
    {
        HandlerFixture::SetUp();
        m_regsvr32 = L"regsvr32.exe /s \"" + ServerPath() + L"\"";
        ASSERT_EQ(RunAndWait(m_regsvr32), 0);
        std::wstring folder = ProgramFolder();
        if (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        WriteString(HKEY_CURRENT_USER, kAppKey, L"AppFolder", folder);
    }
    void TearDown() override
    {
        RunAndWait(L"regsvr32.exe /s /u \"" + ServerPath() + L"\"");
        HandlerFixture::TearDown();
    }
    std::wstring m_regsvr32;
};
}

TEST_F(WholeChain, ConvertToLfRunsTheRealProgramToTheEnd)
{
    ASSERT_TRUE(WaitFor([] { return !QuilletRunning(); }));
    const std::wstring a = Scratch().Path() + L"\\a.txt";
    const std::wstring b = Scratch().Path() + L"\\b b.txt";
    WriteBytes(a, "one\r\ntwo\r\n");
    WriteBytes(b, "three\rfour\r\n");

    ASSERT_EQ(S_OK, Initialize({a, b}));
    ASSERT_TRUE(SUCCEEDED(Query()));
    ASSERT_EQ(Submenu()[kConvertToLf].text, L"Convert to LF Format");
    ASSERT_EQ(S_OK, Invoke(kConvertToLf));

    EXPECT_TRUE(WaitFor([&] { return ReadBytes(a) == "one\ntwo\n" && ReadBytes(b) == "three\nfour\n"; }))
        << "a: " << ReadBytes(a) << " b: " << ReadBytes(b);
    EXPECT_TRUE(WaitFor([] { return !QuilletRunning(); })) << "the program closes by itself";
}
