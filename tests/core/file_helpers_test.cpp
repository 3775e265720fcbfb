#include "app/one_window.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/runtime_folder.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace
{
std::vector<std::string> LinesOf(const std::string& strPath)
{
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextLines(strPath, lines));
    return lines;
}
} // namespace

TEST(TextFileReader, ReadsLinesAsTextModeDoes)
{
    CTempDir dir;
    using V = std::vector<std::string>;
    EXPECT_EQ(LinesOf(dir.Write("a", "one\r\ntwo\nthree")), (V{"one", "two", "three"}));
    EXPECT_EQ(LinesOf(dir.Write("b", "one\r\n\r\n")), (V{"one", ""}));
    EXPECT_EQ(LinesOf(dir.Write("c", "")), V{});
    // A lone carriage return is part of the line; NUL bytes pass through.
    EXPECT_EQ(LinesOf(dir.Write("e", std::string("a\rb\r\nx\0y\n\r", 10))),
              (V{"a\rb", std::string("x\0y", 3), "\r"}));
}

TEST(TextFileReader, HandlesLinesLongerThanItsBuffer)
{
    CTempDir dir;
    const std::string strLong(3 * 1024 * 1024 + 17, 'x');
    const auto lines = LinesOf(dir.Write("long", strLong + "\r\nshort\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], strLong);
    EXPECT_EQ(lines[1], "short");
}

TEST(TextFileReader, RefusesWhatIsNotARegularFile)
{
    CTempDir dir;
    CTextFileReader reader;
    EXPECT_FALSE(reader.Open(dir.MakeDir("folder")));
    EXPECT_FALSE(reader.Open(dir.File("missing")));
    EXPECT_FALSE(IsRegularFile(dir.File("folder")));
    EXPECT_FALSE(IsRegularFile(dir.File("missing")));
    EXPECT_TRUE(IsRegularFile(dir.Write("file", "")));
    ASSERT_EQ(symlink(dir.File("file").c_str(), dir.File("link").c_str()), 0);
    EXPECT_TRUE(IsRegularFile(dir.File("link")));
}

TEST(ReplaceFileContents, ReplacesAndKeepsTheMode)
{
    CTempDir dir;
    const std::string strPath = dir.Write("f", "old");
    chmod(strPath.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(strPath, "new\r\n"));
    EXPECT_EQ(ReadWholeFile(strPath), "new\r\n");
    struct stat st;
    ASSERT_EQ(stat(strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ASSERT_TRUE(ReplaceFileContents(dir.File("created"), ""));
    EXPECT_TRUE(FileExists(dir.File("created")));
}

TEST(ReplaceFileContents, WritesThroughASymbolicLink)
{
    CTempDir dir;
    const std::string strTarget = dir.Write("target", "old");
    ASSERT_EQ(symlink(strTarget.c_str(), dir.File("link").c_str()), 0);
    ASSERT_TRUE(ReplaceFileContents(dir.File("link"), "new"));
    EXPECT_EQ(ReadWholeFile(strTarget), "new");
    struct stat st;
    ASSERT_EQ(lstat(dir.File("link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(ReplaceFileContents, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary)
{
    for (EReplaceStep step :
         {EReplaceStep::Create, EReplaceStep::Write, EReplaceStep::Flush, EReplaceStep::Rename})
    {
        CTempDir dir;
        const std::string strPath = dir.Write("f", "old content");
        SetReplaceFaultHook([step](EReplaceStep current) { return current == step; });
        EXPECT_FALSE(ReplaceFileContents(strPath, "new"));
        SetReplaceFaultHook(nullptr);
        EXPECT_EQ(ReadWholeFile(strPath), "old content");
        std::vector<CFindEntry> entries;
        ASSERT_TRUE(FindEntries(dir.Path(), "*", entries));
        EXPECT_EQ(entries.size(), 3u) << "only ., .. and the file should remain";
    }
}

TEST(ReplaceFileContents, FailsWithoutHarmWhereItCannotWrite)
{
    CTempDir dir;
    const std::string strFile = dir.Write("file", "x");
    EXPECT_FALSE(ReplaceFileContents(strFile + "/child", "y")); // parent is a file
    EXPECT_FALSE(ReplaceFileContents(dir.MakeDir("folder"), "y"));
    EXPECT_FALSE(ReplaceFileContents(dir.File(std::string(300, 'n')), "y"));
    EXPECT_FALSE(ReplaceFileContents("", "y"));
    EXPECT_EQ(ReadWholeFile(strFile), "x");
}

namespace
{
// Root writes into any folder, so the replacement runs in a child process that
// drops to an unprivileged user. The child exits 0 when it replaced the file,
// 1 when it reported a failure, 2 when it could not drop its privileges.
int ReplaceAsUnprivilegedUser(const std::string& strPath, const std::string& strContent)
{
    const pid_t nChild = fork();
    if (nChild == 0)
    {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(ReplaceFileContents(strPath, strContent) ? 0 : 1);
    }
    int nStatus = 0;
    if (nChild < 0 || waitpid(nChild, &nStatus, 0) != nChild || !WIFEXITED(nStatus))
        return -1;
    return WEXITSTATUS(nStatus);
}
} // namespace

TEST(ReplaceFileContents, WritesInPlaceWhereTheFolderRefusesANewFile)
{
    CTempDir dir;
    chmod(dir.Path().c_str(), 0755);
    const std::string strFolder = dir.MakeDir("locked");
    const std::string strPath = dir.Write("locked/f", "old");
    const std::string strReadOnly = dir.Write("locked/read-only", "kept");
    chmod(strPath.c_str(), 0666);
    chmod(strReadOnly.c_str(), 0444);
    chmod(strFolder.c_str(), 0555);

    const int nResult = ReplaceAsUnprivilegedUser(strPath, "new\r\n");
    if (nResult == 2)
    {
        chmod(strFolder.c_str(), 0755);
        GTEST_SKIP() << "cannot drop root privileges to user 65534 here";
    }
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(ReadWholeFile(strPath), "new\r\n");
    struct stat st;
    ASSERT_EQ(stat(strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    // A failed write puts the old contents back; a file that cannot be written fails.
    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Flush; });
    EXPECT_EQ(ReplaceAsUnprivilegedUser(strPath, "lost"), 1);
    SetReplaceFaultHook(nullptr);
    EXPECT_EQ(ReadWholeFile(strPath), "new\r\n");
    EXPECT_EQ(ReplaceAsUnprivilegedUser(strReadOnly, "lost"), 1);
    EXPECT_EQ(ReadWholeFile(strReadOnly), "kept");
    std::vector<CFindEntry> entries;
    ASSERT_TRUE(FindEntries(strFolder, "*", entries));
    EXPECT_EQ(entries.size(), 4u) << "no temporary file may remain";
    chmod(strFolder.c_str(), 0755);
}

TEST(DeleteFileAt, DeletesFilesOnly)
{
    CTempDir dir;
    EXPECT_TRUE(DeleteFileAt(dir.Write("f", "x")));
    EXPECT_FALSE(FileExists(dir.File("f")));
    EXPECT_FALSE(DeleteFileAt(dir.MakeDir("d")));
    EXPECT_TRUE(FileExists(dir.File("d")));
    EXPECT_FALSE(DeleteFileAt(dir.File("missing")));
}

TEST(FindPattern, MatchesAsThePlatformSearchDid)
{
    EXPECT_TRUE(MatchesFindPattern("a.txt", "*.txt"));
    EXPECT_TRUE(MatchesFindPattern("A.TXT", "*.txt"));
    EXPECT_TRUE(MatchesFindPattern(".txt", "*.txt"));
    EXPECT_FALSE(MatchesFindPattern("a.txt.bak", "*.txt"));
    EXPECT_FALSE(MatchesFindPattern("atxt", "*.txt"));
    EXPECT_TRUE(MatchesFindPattern("cookies.txt", "cookies.txt"));
    EXPECT_TRUE(MatchesFindPattern("ab", "a?"));
    EXPECT_FALSE(MatchesFindPattern("a", "a?"));
    // Trailing periods and spaces are ignored: "*.  " lists everything.
    EXPECT_TRUE(MatchesFindPattern("no-extension", "*.  "));
    EXPECT_TRUE(MatchesFindPattern("with.dot", "*.  "));
    EXPECT_TRUE(MatchesFindPattern("..", "*.  "));
}

TEST(FindEntries, ListsMatchingEntriesInNameOrder)
{
    CTempDir dir;
    dir.Write("b.txt", "");
    dir.Write("A.TXT", "");
    dir.Write("c.dat", "");
    dir.MakeDir("sub.txt");
    std::vector<CFindEntry> entries;
    ASSERT_TRUE(FindEntries(dir.Path(), "*.txt", entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].strName, "A.TXT");
    EXPECT_EQ(entries[1].strName, "b.txt");
    EXPECT_EQ(entries[2].strName, "sub.txt");
    EXPECT_TRUE(entries[2].bDirectory);
    EXPECT_FALSE(FindEntries(dir.File("missing"), "*", entries));
    EXPECT_FALSE(FindEntries(dir.File("c.dat"), "*", entries));
}

TEST(FindEntries, GivesTheDotEntriesFirstAndTellsFoldersFromLinksToThem)
{
    CTempDir dir;
    dir.MakeDir("folder");
    dir.Write("file", "");
    std::filesystem::create_directory_symlink(dir.File("folder"), dir.File("link"));
    std::vector<CFindEntry> entries;
    ASSERT_TRUE(FindEntries(dir.Path(), "*", entries));
    std::vector<std::pair<std::string, bool>> found;
    for (const CFindEntry& entry : entries)
        found.emplace_back(entry.strName, entry.bDirectory);
    EXPECT_EQ(found,
              (std::vector<std::pair<std::string, bool>>{
                  {".", true}, {"..", true}, {"file", false}, {"folder", true}, {"link", false}}));
    // A folder that cannot be listed adds nothing to what the list held.
    EXPECT_FALSE(FindEntries(dir.File("file"), "*", entries));
    EXPECT_EQ(entries.size(), 5u);
}

// Every spelling of one folder gives the same names; two folders never share them.
TEST(OneWindowNames, FollowTheFolderNotItsSpelling)
{
    CTempDir dir;
    const std::string strFolder = dir.MakeDir("work");
    dir.MakeDir("other");
    std::filesystem::create_directory_symlink(strFolder, dir.File("link"));
    const COneWindowNames names = GetOneWindowNames(strFolder, "/run/user/7");
    for (const std::string& strSpelling :
         {dir.File("link"), strFolder + "/.", dir.File("other/../work/")})
    {
        EXPECT_EQ(names.strMarkerName, GetOneWindowNames(strSpelling, "/run/user/7").strMarkerName);
        EXPECT_EQ(names.strChannelPath,
                  GetOneWindowNames(strSpelling, "/run/user/7").strChannelPath);
    }
    EXPECT_NE(names.strMarkerName, GetOneWindowNames(dir.File("other"), "/x").strMarkerName);
    EXPECT_EQ(0u, names.strChannelPath.rfind("/run/user/7/", 0));
    EXPECT_TRUE(GetOneWindowNames(strFolder, std::string()).strChannelPath.empty());
}

// $XDG_RUNTIME_DIR only when nobody else can enter it; otherwise a folder of
// mode 0700 of the user's own in the temporary folder, and none where that
// place is taken by something others can reach.
TEST(PrivateRuntimeFolder, IsOneNobodyElseCanEnter)
{
    const char* pOldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string strOldRuntime = pOldRuntime ? pOldRuntime : "";
    CTempDir dir;
    const std::string strOwn = dir.MakeDir("own"), strShared = dir.MakeDir("shared");
    chmod(strOwn.c_str(), 0700);
    chmod(strShared.c_str(), 0755);
    const std::string strTemp = dir.MakeDir("tmp");
    const std::string strFallback = strTemp + "/jarvane-" + std::to_string(geteuid());
    setenv("TMPDIR", strTemp.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", strOwn.c_str(), 1);
    EXPECT_EQ(strOwn, GetPrivateRuntimeFolder());
    setenv("XDG_RUNTIME_DIR", strShared.c_str(), 1);
    EXPECT_EQ(strFallback, GetPrivateRuntimeFolder());
    struct stat info;
    ASSERT_EQ(0, stat(strFallback.c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777u);
    chmod(strFallback.c_str(), 0777);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(std::string(), GetPrivateRuntimeFolder());
    unsetenv("TMPDIR");
    if (pOldRuntime)
        setenv("XDG_RUNTIME_DIR", strOldRuntime.c_str(), 1);
}
