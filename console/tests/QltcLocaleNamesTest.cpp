#include <gtest/gtest.h>

#include <filesystem>

#include "QltcProcess.h"

// Names reach the program as bytes; whatever the locale makes of them, the
// program must print exactly those bytes and still convert the file.
TEST(QltcLocaleNames, UndecodableAndNonAsciiNames)
{
    CScratchFolder folder;
    const std::string undecodable = "\xff\xfe.txt";
    const std::string accented = "caf\xc3\xa9.txt";  // UTF-8
    folder.Write("in/" + undecodable, "u\r\n");
    folder.Write(accented, "e\r\n");

    for (const char* locale : {"LANG=C.UTF-8", "LANG=C"}) {
        const QltcRun run = RunQltcProcess({"-format", "lf", "-filter", "*.txt", "in", accented},
                                           folder.Path(), {"LC_ALL=", locale});
        EXPECT_EQ(0, run.exitCode) << locale;
        EXPECT_NE(std::string::npos, run.output.find("   1. " + undecodable + "\n")) << locale;
        EXPECT_NE(std::string::npos, run.output.find("   2. " + accented + "\n")) << locale;
        EXPECT_NE(std::string::npos,
                  run.output.find("\r   1. " + undecodable + " ... OK          \n"))
            << locale;
        EXPECT_NE(std::string::npos, run.output.find("\r   2. " + accented + " ... OK          \n"))
            << locale;
        EXPECT_EQ("u\n", folder.Read("in/" + undecodable));
        EXPECT_EQ("e\n", folder.Read(accented));
        folder.Write("in/" + undecodable, "u\r\n");
        folder.Write(accented, "e\r\n");
    }
}
