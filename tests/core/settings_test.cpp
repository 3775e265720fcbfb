#include "app/settings.h"
#include "platform/safe_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace
{
CSettings ReadFrom(const CTempDir& dir, const std::string& strText)
{
    return ReadSettingsFile(dir.Write("Jarvane.INI", strText));
}
} // namespace

TEST(Settings, FlagsAreOnOnlyForExactlyYes)
{
    CTempDir dir;
    CSettings settings = ReadSettingsFile(dir.File("missing.INI"));
    EXPECT_TRUE(settings.m_bSoundEffects);
    EXPECT_TRUE(settings.m_bShowWaitDialog);
    EXPECT_EQ(settings.m_nAutoDelete, 0);

    settings = ReadFrom(dir, "[General]\r\nSoundEffects=yes\r\nShowWaitDialog=Yes\r\n");
    EXPECT_FALSE(settings.m_bSoundEffects);
    EXPECT_TRUE(settings.m_bShowWaitDialog);
    settings = ReadFrom(dir, "[General]\r\nSoundEffects=\r\nShowWaitDialog=No\r\n");
    EXPECT_FALSE(settings.m_bSoundEffects);
    EXPECT_FALSE(settings.m_bShowWaitDialog);
    settings = ReadFrom(dir, "[general]\r\nsoundeffects = \"Yes\"\r\nShowWaitDialog\r\n");
    EXPECT_TRUE(settings.m_bSoundEffects);
    EXPECT_TRUE(settings.m_bShowWaitDialog); // a key without "=" reads as missing
}

TEST(Settings, AutoDeleteOutsideItsRangeIsNever)
{
    CTempDir dir;
    const std::pair<const char*, int> cases[] = {
        {"0", 0}, {"1", 1}, {"3", 3}, {"4", 0}, {"-1", 0}, {"2x", 2}, {"x", 0}, {"4294967298", 2},
    };
    for (const auto& [pValue, nExpected] : cases)
        EXPECT_EQ(
            ReadFrom(dir, std::string("[General]\nAutoDelete=") + pValue + "\n").m_nAutoDelete,
            nExpected)
            << pValue;
}

TEST(Settings, SavesTheThreeKeysInOrderAndReadsThemBack)
{
    CTempDir dir;
    const std::string strPath = dir.File("Jarvane.INI");
    CSettings settings;
    settings.m_bSoundEffects = 0;
    settings.m_nAutoDelete = 3;
    ASSERT_TRUE(SaveSettingsFile(strPath, settings));
    EXPECT_EQ(ReadWholeFile(strPath),
              "[General]\r\nSoundEffects=No\r\nShowWaitDialog=Yes\r\nAutoDelete=3\r\n");
    const CSettings back = ReadSettingsFile(strPath);
    EXPECT_FALSE(back.m_bSoundEffects);
    EXPECT_TRUE(back.m_bShowWaitDialog);
    EXPECT_EQ(back.m_nAutoDelete, 3);

    EXPECT_FALSE(SaveSettingsFile(dir.MakeDir("folder.INI"), settings));
    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Write; });
    settings.m_nAutoDelete = 1;
    EXPECT_FALSE(SaveSettingsFile(strPath, settings));
    SetReplaceFaultHook(nullptr);
    EXPECT_EQ(ReadSettingsFile(strPath).m_nAutoDelete, 3);
}

TEST(Settings, BinaryFilesReadAsDefaults)
{
    CTempDir dir;
    std::string strBinary(4096, '\0');
    for (size_t i = 0; i < strBinary.size(); ++i)
        strBinary[i] = static_cast<char>(i * 131);
    const CSettings settings = ReadFrom(dir, strBinary);
    EXPECT_TRUE(settings.m_bSoundEffects);
    EXPECT_EQ(settings.m_nAutoDelete, 0);
}

TEST(Settings, IntervalsOfTheAutoDeleteChoices)
{
    EXPECT_EQ(AutoDeleteIntervalMs(0), 0u);
    EXPECT_EQ(AutoDeleteIntervalMs(1), 60000u);
    EXPECT_EQ(AutoDeleteIntervalMs(2), 1800000u);
    EXPECT_EQ(AutoDeleteIntervalMs(3), 3600000u);
    EXPECT_EQ(AutoDeleteIntervalMs(4), 0u);
}
