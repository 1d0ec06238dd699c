// Quillet.exe's manifest, read back from the built program by the system's
// own manifest reader.
#include <gtest/gtest.h>

#include <vector>

#include "win/Win32ManifestReader.h"

TEST(QuilletManifest, DeclaresLongPaths)
{
    std::vector<wchar_t> self(MAX_PATH * 4);
    const std::wstring test(self.data(), ::GetModuleFileNameW(nullptr, self.data(), DWORD(self.size())));
    const std::wstring program = test.substr(0, test.find_last_of(L'\\') + 1) + L"Quillet.exe";
    const CActCtx context = ProgramManifestContext(program);
    ASSERT_TRUE(context) << "Quillet.exe has no manifest that the system accepts";
    EXPECT_EQ(L"true", ManifestWindowsSetting(context.get(), L"longPathAware"));
}
