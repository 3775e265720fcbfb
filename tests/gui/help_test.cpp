#include "app_folders_override.h"
#include "source_root.h"
#include "support/temp_dir.h"
#include "ui/help.h"

#include <gtest/gtest.h>
#include <wx/html/helpdata.h>

TEST(HelpTest, TheBookInTheStartFolderIsFoundFirst)
{
    CTempDir dir;
    CAppFoldersOverride folders(dir.Path());
    const std::string strBook = dir.Write("help/Jarvane.hhp", "[OPTIONS]\r\n");
    EXPECT_EQ(strBook, FindHelpBook());
    // A folder in the book's place is not a book.
    CTempDir other;
    other.MakeDir("help/Jarvane.hhp");
    CAppFoldersOverride otherFolders(other.Path());
    EXPECT_NE(other.File("help/Jarvane.hhp"), FindHelpBook());
}

TEST(HelpTest, TheBundledBookLoadsAndEveryTopicExists)
{
    const std::string strHelp = SourceRoot() + "/res/help";
    wxHtmlHelpData data;
    ASSERT_TRUE(data.AddBook(wxString::FromUTF8(strHelp + "/Jarvane.hhp")));
    ASSERT_EQ(1u, data.GetBookRecArray().size());
    EXPECT_EQ("Jarvane Help", data.GetBookRecArray()[0].GetTitle());
    const wxHtmlHelpDataItems& contents = data.GetContentsArray();
    EXPECT_GE(contents.size(), 6u);
    for (size_t i = 0; i < contents.size(); ++i)
    {
        const wxHtmlHelpDataItem& item = contents[i];
        SCOPED_TRACE(item.name.utf8_string());
        EXPECT_TRUE(FileExists(strHelp + "/" + item.page.BeforeFirst('#').utf8_string()));
    }
    const wxHtmlHelpDataItems& index = data.GetIndexArray();
    EXPECT_FALSE(index.empty());
    for (size_t i = 0; i < index.size(); ++i)
        EXPECT_TRUE(FileExists(strHelp + "/" + index[i].page.utf8_string())) << index[i].name;
}
