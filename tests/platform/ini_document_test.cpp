#include "platform/ini_document.h"

#include <gtest/gtest.h>

namespace tavimor {
namespace {

TEST(IniDocument, ReadsSectionsAndKeysWithoutRegardToCase) {
    IniDocument ini(
        "; written by hand\n[File History]\r\nFile0 = VP8: C:/a b.ivf \r\n\n[Local "
        "Info]\nCheckNever=\"1\"\n");
    EXPECT_EQ(ini.value("file history", "file0"), "VP8: C:/a b.ivf");
    EXPECT_EQ(ini.value("Local Info", "CheckNever"), "1");
    EXPECT_EQ(ini.value("Local Info", "Missing"), std::nullopt);
    EXPECT_EQ(ini.value("Nowhere", "File0"), std::nullopt);
}

TEST(IniDocument, KeepsOrderWhenValuesChangeAndDeletesKeysWithoutValue) {
    IniDocument ini("[File History]\nFile0=a\nFile1=b\nFile2=c\n");
    ini.set("File History", "FILE1", "B");
    ini.set("File History", "File0", std::nullopt);
    ini.set("File History", "File3", "d");
    ini.set("Nowhere", "Key", std::nullopt);  // deleting from a missing section adds nothing
    EXPECT_EQ(ini.text(), "[File History]\nFile1=B\nFile2=c\nFile3=d\n");
    EXPECT_EQ(IniDocument(ini.text()).text(), ini.text());
}

// What is written reads back as written: a path with white space at its
// ends or in quotes keeps them, a deleted key's duplicate line does not take
// its place, and a line break cannot add lines of its own.
TEST(IniDocument, WrittenValuesReadBackAsWritten) {
    IniDocument ini("[File History]\nFile0=a\nfile0=stale\nFile1=\"q\"\n");
    ini.set("File History", "File2", " spaced ");
    ini.set("File History", "File3", "\"quoted\"");
    ini.set("Local Info", "CheckNever", "1\n[File History]\nFile1=injected");
    ini.set("File History", "File0", std::nullopt);
    EXPECT_EQ(ini.text(),
              "[File History]\nFile1=q\nFile2=\" spaced \"\nFile3=\"\"quoted\"\"\n"
              "[Local Info]\nCheckNever=1\n");
    const IniDocument reread(ini.text());
    EXPECT_EQ(reread.value("File History", "File0"), std::nullopt);
    EXPECT_EQ(reread.value("File History", "File1"), "q");
    EXPECT_EQ(reread.value("File History", "File2"), " spaced ");
    EXPECT_EQ(reread.value("File History", "File3"), "\"quoted\"");
    EXPECT_EQ(reread.value("Local Info", "CheckNever"), "1");
    EXPECT_EQ(reread.text(), ini.text());
}

TEST(IniDocument, LinesOutsideSectionsAndWithoutEqualsAreIgnored) {
    IniDocument ini("stray=1\n[S]\nnoequals\n[broken\nk=v\n");
    EXPECT_EQ(ini.value("S", "k"), "v");
    EXPECT_EQ(ini.value("S", "noequals"), std::nullopt);
}

TEST(IniDocument, TruncationNeverSplitsACharacter) {
    EXPECT_EQ(truncate_characters("abcdef", 3), "abc");
    EXPECT_EQ(truncate_characters("ab", 3), "ab");
    // "é" is two bytes; three characters of "aéxy" are four bytes.
    EXPECT_EQ(truncate_characters("a\xC3\xA9xy", 3), "a\xC3\xA9x");
    EXPECT_EQ(truncate_characters("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9");
}

TEST(IniDocument, IntegersReadLikeSettingsFiles) {
    EXPECT_EQ(profile_integer("1"), 1);
    EXPECT_EQ(profile_integer(" 42abc"), 42);
    EXPECT_EQ(profile_integer("-7"), -7);
    EXPECT_EQ(profile_integer("abc"), 0);
    EXPECT_EQ(profile_integer(""), 0);
    EXPECT_EQ(profile_integer("99999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace tavimor
