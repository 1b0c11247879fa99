// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QuarvelNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using zq::QuarvelNames;

TEST(QuarvelNames, GoodLinesNameBothLanguagesAndBadLinesAreSkipped)
{
    QuarvelNames names;
    names.LoadFromText("\xEF\xBB\xBF# number, category, English, German\n"
                       "1\tanimal\tCat\tKatze\r\n"
                       "2\tobject\tFrying pan\tPfanne mit \xC3\xA4\n"
                       "3\tobject\tno German\n"          // three fields
                       "4\tobject\tA\tB\textra\n"        // five fields
                       "0\tobject\tZero\tNull\n"         // below 1
                       "1001\tobject\tHigh\tHoch\n"      // above 1000
                       "x5\tobject\tBad\tSchlecht\n"     // not a number
                       "6\tobject\t\tLeer\n"             // empty English
                       "7\tobject\tBroken \xC3\tKaputt\n" // cut UTF-8
                       "1\tanimal\tDog\tHund\n"          // 1 is named already
                       "\n"
                       "1000\tsign\tLast\tLetzte");       // no line end
    EXPECT_EQ(names.Count(), 3);
    EXPECT_EQ(names.Name(1, false), "Cat");
    EXPECT_EQ(names.Name(1, true), "Katze");
    EXPECT_EQ(names.Name(2, true), "Pfanne mit \xC3\xA4");
    EXPECT_EQ(names.Find(2)->category, "object");
    EXPECT_EQ(names.Name(1000, false), "Last");
    for (int n : {0, 3, 4, 5, 6, 7, 1001})
        EXPECT_EQ(names.Name(n, false), "") << n;
}

TEST(QuarvelNames, AMissingFileOrAFolderNamesNothing)
{
    const auto dir = std::filesystem::temp_directory_path() / "zq_names_test";
    std::filesystem::create_directories(dir);
    QuarvelNames names;
    names.LoadFromText("1\ta\tA\tA\n");
    names.Load(dir / "absent.names");
    EXPECT_EQ(names.Count(), 0);
    names.Load(dir);
    EXPECT_EQ(names.Count(), 0);
    std::ofstream(dir / "zqvl2.names") << "12\tletter\tLetter T\tBuchstabe T\n";
    names.Load(dir / "zqvl2.names");
    EXPECT_EQ(names.Name(12, true), "Buchstabe T");
    std::filesystem::remove_all(dir);
}
