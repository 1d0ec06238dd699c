// QLTC.exe's manifest, read back from the built program by the system's own
// manifest reader.
#include <gtest/gtest.h>

#include "QltcProcess.h"
#include "win/Win32ManifestReader.h"

TEST(QltcManifest, DeclaresLongPathsAndTheSupportedWindowsVersions)
{
    const CActCtx context = ProgramManifestContext(QltcProgramPath().wstring());
    ASSERT_TRUE(context) << "QLTC.exe has no manifest that the system accepts";
    EXPECT_EQ(L"true", ManifestWindowsSetting(context.get(), L"longPathAware"));
    const std::set<std::wstring> windows7To11 = {
        L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}", L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",
        L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}", L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"};
    EXPECT_EQ(windows7To11, ManifestSupportedSystems(context.get()));
}
