#include "platform/profile.h"
#include "platform/safe_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace
{
std::string Read(const std::string& strPath, const std::string& strSection,
                 const std::string& strKey, const std::string& strDefault = "dflt",
                 size_t nSize = 1023)
{
    return ProfileReadStringWithSize(strSection, strKey, strDefault, nSize, strPath);
}
} // namespace

TEST(ProfileRead, FindsValuesAsTheWindowsCallsDo)
{
    CTempDir dir;
    const std::string strPath = dir.Write("p.ini", "; comment\r\n"
                                                   "[ General ]\r\n"
                                                   "  Sound = Yes  \r\n"
                                                   "Empty=\r\n"
                                                   "NoEquals\r\n"
                                                   "Quoted=\"a b \"\r\n"
                                                   "Single='x'\r\n"
                                                   "Mismatched=\"x'\r\n"
                                                   "Lone=\"\r\n"
                                                   "dup=first\r\n"
                                                   "DUP=second\n"
                                                   "[general]\n"
                                                   "Later=hidden\n"
                                                   "[Other]\n"
                                                   "a=b=c\n");
    EXPECT_EQ(Read(strPath, "general", "SOUND"), "Yes");
    EXPECT_EQ(Read(strPath, "General", "Empty"), "");
    EXPECT_EQ(Read(strPath, "General", "NoEquals"), "dflt");
    EXPECT_EQ(Read(strPath, "General", "Quoted"), "a b ");
    EXPECT_EQ(Read(strPath, "General", "Single"), "x");
    EXPECT_EQ(Read(strPath, "General", "Mismatched"), "\"x'");
    EXPECT_EQ(Read(strPath, "General", "Lone"), "\"");
    EXPECT_EQ(Read(strPath, "General", "dup"), "first");
    // The first section of a name wins, even when only a later one has the key.
    EXPECT_EQ(Read(strPath, "General", "Later"), "dflt");
    EXPECT_EQ(Read(strPath, "Other", "a"), "b=c");
    EXPECT_EQ(Read(strPath, "Missing", "a", "def  "), "def");
    EXPECT_EQ(Read(dir.File("absent.ini"), "Other", "a", "def "), "def");
    EXPECT_EQ(Read(dir.MakeDir("folder.ini"), "Other", "a"), "dflt");
}

TEST(ProfileRead, CutsToTheBufferSize)
{
    CTempDir dir;
    const std::string strPath = dir.Write("p.ini", "[S]\r\nk=" + std::string(5000, 'v') + "\r\n");
    EXPECT_EQ(Read(strPath, "S", "k", "", 1023), std::string(1022, 'v'));
    EXPECT_EQ(Read(strPath, "S", "k", "", 1), "");
    EXPECT_EQ(Read(strPath, "S", "k", "", 0), "");
    EXPECT_EQ(Read(strPath, "S", "missing", "abcdef", 4), "abc");
}

TEST(ProfileReadInt, TakesTheLeadingInteger)
{
    CTempDir dir;
    const std::string strPath = dir.Write("p.ini", "[S]\n"
                                                   "seven=7abc\n"
                                                   "letters=abc\n"
                                                   "minus=-1\n"
                                                   "plus=  +12\n"
                                                   "wrap=4294967297\n"
                                                   "quoted=\"3\"\n"
                                                   "empty=\n"
                                                   "noequals\n");
    EXPECT_EQ(ProfileReadInt("S", "seven", 99, strPath), 7);
    EXPECT_EQ(ProfileReadInt("S", "letters", 99, strPath), 0);
    EXPECT_EQ(ProfileReadInt("S", "minus", 99, strPath), -1);
    EXPECT_EQ(ProfileReadInt("S", "plus", 99, strPath), 12);
    EXPECT_EQ(ProfileReadInt("S", "wrap", 99, strPath), 1);
    EXPECT_EQ(ProfileReadInt("S", "quoted", 99, strPath), 3);
    EXPECT_EQ(ProfileReadInt("S", "missing", 99, strPath), 99);
    EXPECT_EQ(ProfileReadInt("S", "noequals", 99, strPath), 99);
    // As the Windows call does, an empty value reads as a missing one.
    EXPECT_EQ(ProfileReadInt("S", "empty", 99, strPath), 99);
}

TEST(ProfileWrite, CreatesFileSectionAndKeyWhereTheWindowsCallDoes)
{
    CTempDir dir;
    const std::string strPath = dir.File("new.ini");
    ASSERT_TRUE(ProfileWriteString("Sec", "key", "value", strPath));
    EXPECT_EQ(ReadWholeFile(strPath), "[Sec]\r\nkey=value\r\n");

    ASSERT_TRUE(ProfileWriteString("Other", "a", "1", strPath));
    ASSERT_TRUE(ProfileWriteString("SEC", "second", "2", strPath));
    ASSERT_TRUE(ProfileWriteString("sec", "KEY", "replaced", strPath));
    EXPECT_EQ(ReadWholeFile(strPath), "[Sec]\r\nkey=replaced\r\nsecond=2\r\n[Other]\r\na=1\r\n");
}

TEST(ProfileWrite, KeepsEveryOtherLine)
{
    CTempDir dir;
    const std::string strPath = dir.Write("p.ini", "; top comment\n"
                                                   "[S]\n"
                                                   "; inside\n"
                                                   "a=1\n"
                                                   "\n"
                                                   "[T]\n"
                                                   "x = old\n"
                                                   "x=duplicate\n"
                                                   "[S]\n"
                                                   "a=later\n");
    ASSERT_TRUE(ProfileWriteString("S", "b", "2", strPath));
    ASSERT_TRUE(ProfileWriteString("T", "x", "new", strPath));
    EXPECT_EQ(ReadWholeFile(strPath), "; top comment\r\n"
                                      "[S]\r\n"
                                      "; inside\r\n"
                                      "a=1\r\n"
                                      "b=2\r\n"
                                      "\r\n"
                                      "[T]\r\n"
                                      "x=new\r\n"
                                      "x=duplicate\r\n"
                                      "[S]\r\n"
                                      "a=later\r\n");
}

TEST(ProfileWrite, RefusesWhatTheFileCannotHoldAndFailsWithoutHarm)
{
    CTempDir dir;
    const std::string strPath = dir.Write("p.ini", "[S]\r\na=1\r\n");
    EXPECT_FALSE(ProfileWriteString("S", "a", "two\r\nlines", strPath));
    EXPECT_FALSE(ProfileWriteString("S", "k=v", "x", strPath));
    EXPECT_FALSE(ProfileWriteString("S\n[T]", "a", "x", strPath));
    EXPECT_FALSE(ProfileWriteString("S", "[T]", "x", strPath));
    EXPECT_EQ(ReadWholeFile(strPath), "[S]\r\na=1\r\n");

    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
    EXPECT_FALSE(ProfileWriteString("S", "a", "2", strPath));
    SetReplaceFaultHook(nullptr);
    EXPECT_EQ(ReadWholeFile(strPath), "[S]\r\na=1\r\n");

    EXPECT_FALSE(ProfileWriteString("S", "a", "1", dir.MakeDir("folder.ini")));
    EXPECT_FALSE(ProfileWriteString("S", "a", "1", strPath + "/child.ini"));
    EXPECT_FALSE(ProfileWriteString("S", "a", "1", dir.File(std::string(300, 'n'))));
}

TEST(ProfileRead, SurvivesMalformedAndBinaryFiles)
{
    CTempDir dir;
    std::string strBinary;
    for (int i = 0; i < 70000; ++i)
        strBinary += static_cast<char>((i * 7919) % 256);
    const std::string strBinaryPath = dir.Write("binary.ini", strBinary);
    EXPECT_EQ(Read(strBinaryPath, "S", "k"), "dflt");
    EXPECT_EQ(ProfileReadInt("S", "k", 5, strBinaryPath), 5);
    ASSERT_TRUE(ProfileWriteString("S", "k", "v", strBinaryPath));
    EXPECT_EQ(Read(strBinaryPath, "S", "k"), "v");

    using namespace std::string_literals;
    const std::string strOdd =
        dir.Write("odd.ini", "[\n]\n[S\nk=no section\n[]\n=empty name\n[S]x]\nk=\"v\0w\"\n"s);
    EXPECT_EQ(Read(strOdd, "", "", "d"), "empty name");
    EXPECT_EQ(Read(strOdd, "S]x", "k"), "v");
    EXPECT_EQ(Read(strOdd, "S", "k"), "dflt");

    const std::string strHuge =
        dir.Write("huge.ini", "[S]\n" + std::string(8 << 20, 'x') + "\nk=1\n");
    EXPECT_EQ(Read(strHuge, "S", "k"), "1");
}
