#include "inventory/stores/netscape/netscape_snapshot.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

using V = std::vector<std::string>;

// A snapshot of a file holding a, b, b; the file is then changed by "another
// program" (its stamp moved on) to what the test gives.
class CNSSnapshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strFile = m_dir.Write("cookies.txt", "a\t1\nb\t2\nb\t2\n");
        m_snapshot.StartReading(m_strFile);
        for (const char* pszLine : {"a\t1", "b\t2", "b\t2"})
            m_snapshot.AddReadLine(pszLine);
        m_snapshot.FinishReading(true);
    }

    void ChangeFile(const std::string& strText)
    {
        m_dir.Write("cookies.txt", strText);
        const auto when = std::filesystem::last_write_time(m_strFile);
        std::filesystem::last_write_time(m_strFile, when + std::chrono::seconds(5));
    }

    CTempDir m_dir;
    std::string m_strFile;
    CNSFileSnapshot m_snapshot;
};

TEST_F(CNSSnapshotTest, KeepsWhatAnotherProgramAddedAndDropsWhatItRemoved)
{
    ASSERT_TRUE(m_snapshot.TakeInOutsideChanges(m_strFile)); // unchanged: nothing to take in
    EXPECT_EQ(m_snapshot.LinesToWrite({"b\t2", "a\t1"}), (V{"b\t2", "a\t1"}));

    ChangeFile("# header\nb\t2\nc\t3\n  c\t3  \n");
    ASSERT_TRUE(m_snapshot.TakeInOutsideChanges(m_strFile));
    // One "b" and the "a" are gone from the file; both "c" lines are new.
    EXPECT_EQ(m_snapshot.LinesToWrite({"a\t1", "b\t2", "b\t2"}), (V{"b\t2", "c\t3", "c\t3"}));
}

TEST_F(CNSSnapshotTest, AChangedFileThatCannotBeReadIsNotMerged)
{
    EXPECT_TRUE(m_snapshot.IsReadable());
    std::filesystem::remove(m_strFile);
    std::filesystem::create_directory(m_strFile);
    EXPECT_FALSE(m_snapshot.TakeInOutsideChanges(m_strFile));

    CNSFileSnapshot failed;
    failed.StartReading(m_strFile);
    failed.AddReadLine("a\t1");
    failed.FinishReading(false);
    EXPECT_FALSE(failed.IsReadable());
}
