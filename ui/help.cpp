#include "ui/help.h"

#include "app/app_folders.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "ui/display_text.h"
#include "ui/message_box.h"

#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/log.h>

namespace
{
std::vector<std::string> HelpBookCandidates()
{
    std::vector<std::string> folders;
    if (!GetAppFolders().m_strCurrentFolder.empty())
        folders.push_back(GetAppFolders().m_strCurrentFolder);
#ifdef JARVANE_DATA_DIR
    folders.push_back(JARVANE_DATA_DIR);
#endif
    std::vector<std::string> candidates;
    for (const std::string& strFolder : folders)
        candidates.push_back(
            AppendPathPart(AppendPathPart(strFolder, HELP_BOOK_FOLDER), HELP_BOOK_NAME));
    return candidates;
}
} // namespace

std::string FindHelpBook()
{
    for (const std::string& strCandidate : HelpBookCandidates())
    {
        if (IsRegularFile(strCandidate))
            return strCandidate;
    }
    return std::string();
}

void ShowHelpContents(wxWindow* pOwner)
{
    const std::string strBook = FindHelpBook();
    wxHtmlHelpController help(wxHF_DEFAULT_STYLE | wxHF_DIALOG | wxHF_MODAL, pOwner);
    bool bAdded = false;
    if (!strBook.empty())
    {
        // A damaged book is reported below, in one box, not by wx's log boxes.
        wxLogNull noLog;
        bAdded = help.AddBook(wxFileName(ToDisplayText(strBook)));
    }
    if (!bAdded)
    {
        wxString strWhere;
        for (const std::string& strCandidate : HelpBookCandidates())
            strWhere += "\n" + ToDisplayText(strCandidate);
        ShowMessageBox("The help book could not be opened. It is looked for at:" + strWhere,
                       wxTheApp->GetAppName(), wxOK | wxICON_ERROR, pOwner);
        return;
    }
    help.DisplayContents();
}
