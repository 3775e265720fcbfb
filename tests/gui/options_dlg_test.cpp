#include "app_folders_override.h"
#include "modal_script.h"
#include "support/temp_dir.h"
#include "ui/message_box.h"
#include "ui/options_dlg.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>

namespace
{
class OptionsDlgTest : public testing::Test
{
protected:
    OptionsDlgTest() : m_folders(m_dir.Path())
    {
        SetMessageBoxHandler(
            [](const wxString& strText, const wxString&, long)
            {
                ADD_FAILURE() << "unexpected message: " << strText.utf8_str();
                return wxOK;
            });
    }
    ~OptionsDlgTest() override { SetMessageBoxHandler(nullptr); }

    std::string SettingsFile() const { return m_dir.File("Jarvane.INI"); }

    // Runs the dialog over the settings in force, with fnStep acting on it.
    int Run(const CSettings& inForce, std::function<void(COptionsDlg&)> fnStep)
    {
        CModalScript script;
        script.On<COptionsDlg>(fnStep);
        COptionsDlg dialog(nullptr, inForce);
        const int nResult = dialog.ShowModal();
        EXPECT_EQ(0u, script.GetPendingSteps());
        return nResult;
    }

    CTempDir m_dir;
    CAppFoldersOverride m_folders;
};
} // namespace

TEST_F(OptionsDlgTest, ShowsTheValuesInForceAndCancelLeavesTheFileAlone)
{
    const std::string strFile =
        m_dir.Write("Jarvane.INI", "[General]\r\nSoundEffects=Yes\r\nShowWaitDialog=No\r\n"
                                   "AutoDelete=0\r\n");
    CSettings inForce;
    inForce.m_bSoundEffects = 0;
    inForce.m_bShowWaitDialog = 1;
    inForce.m_nAutoDelete = 2;
    const int nResult = Run(inForce,
                            [](COptionsDlg& dialog)
                            {
                                EXPECT_EQ("Jarvane Options", dialog.GetTitle());
                                EXPECT_FALSE(dialog.m_chkSoundEffects->GetValue());
                                EXPECT_TRUE(dialog.m_chkShowWaitDialog->GetValue());
                                ASSERT_EQ(4u, dialog.m_cboAutoDelete->GetCount());
                                EXPECT_EQ("Never", dialog.m_cboAutoDelete->GetString(0));
                                EXPECT_EQ("Every 60 Seconds", dialog.m_cboAutoDelete->GetString(1));
                                EXPECT_EQ("Every 30 Minutes", dialog.m_cboAutoDelete->GetString(2));
                                EXPECT_EQ("Every Hour", dialog.m_cboAutoDelete->GetString(3));
                                EXPECT_EQ(2, dialog.m_cboAutoDelete->GetSelection());
                                dialog.m_chkShowWaitDialog->SetValue(false);
                                ClickButton(dialog, wxID_CANCEL);
                            });
    EXPECT_EQ(wxID_CANCEL, nResult);
    EXPECT_EQ("[General]\r\nSoundEffects=Yes\r\nShowWaitDialog=No\r\nAutoDelete=0\r\n",
              ReadWholeFile(strFile));
}

TEST_F(OptionsDlgTest, OkOnFirstRunCreatesTheFileWithTheThreeKeysInOrder)
{
    const int nResult = Run(CSettings(),
                            [](COptionsDlg& dialog)
                            {
                                EXPECT_TRUE(dialog.m_chkSoundEffects->GetValue());
                                EXPECT_TRUE(dialog.m_chkShowWaitDialog->GetValue());
                                EXPECT_EQ(0, dialog.m_cboAutoDelete->GetSelection());
                                ClickButton(dialog, wxID_OK);
                            });
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("[General]\r\nSoundEffects=Yes\r\nShowWaitDialog=Yes\r\nAutoDelete=0\r\n",
              ReadWholeFile(SettingsFile()));
}

TEST_F(OptionsDlgTest, OkWritesTheChangedValuesAndKeepsTheRestOfTheFile)
{
    m_dir.Write("Jarvane.INI", "; mine\r\n[Other]\r\nKey=1\r\n[General]\r\nAutoDelete=1\r\n");
    const int nResult = Run(CSettings(),
                            [](COptionsDlg& dialog)
                            {
                                dialog.m_chkSoundEffects->SetValue(false);
                                dialog.m_cboAutoDelete->SetSelection(3);
                                ClickButton(dialog, wxID_OK);
                            });
    EXPECT_EQ(wxID_OK, nResult);
    EXPECT_EQ("; mine\r\n[Other]\r\nKey=1\r\n[General]\r\nAutoDelete=3\r\nSoundEffects=No\r\n"
              "ShowWaitDialog=Yes\r\n",
              ReadWholeFile(SettingsFile()));
    const CSettings read = ReadSettingsFile(SettingsFile());
    EXPECT_EQ(0, read.m_bSoundEffects);
    EXPECT_EQ(1, read.m_bShowWaitDialog);
    EXPECT_EQ(3, read.m_nAutoDelete);
}

TEST_F(OptionsDlgTest, EscapeAndTheCloseBoxEndWithCancelAndWriteNothing)
{
    EXPECT_EQ(wxID_CANCEL, Run(CSettings(), [](COptionsDlg& dialog) { PressEscape(dialog); }));
    EXPECT_EQ(wxID_CANCEL, Run(CSettings(), [](COptionsDlg& dialog) { dialog.Close(); }));
    EXPECT_FALSE(FileExists(SettingsFile()));
}

TEST_F(OptionsDlgTest, AnUnknownChoiceInForceShowsNever)
{
    CSettings inForce;
    inForce.m_nAutoDelete = 7;
    Run(inForce,
        [](COptionsDlg& dialog)
        {
            EXPECT_EQ(0, dialog.m_cboAutoDelete->GetSelection());
            ClickButton(dialog, wxID_CANCEL);
        });
}

TEST_F(OptionsDlgTest, AFailedWriteIsNotReportedAndStillEndsWithOk)
{
    // The settings folder is a regular file, so the file cannot be created.
    const std::string strNotAFolder = m_dir.Write("plain-file", "x");
    CAppFoldersOverride blocked(strNotAFolder);
    EXPECT_EQ(wxID_OK, Run(CSettings(), [](COptionsDlg& dialog) { ClickButton(dialog, wxID_OK); }));
    EXPECT_EQ("x", ReadWholeFile(strNotAFolder));
}
