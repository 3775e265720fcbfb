// The main window's Undo Last Deletion command and the message of a deletion
// refused for want of a copy.
#include "inventory/undo_restore.h"
#include "ui/cookie_dlg.h"
#include "ui/message_box.h"

#include <wx/utils.h>

bool CCookieDlg::CanUndoDeletion()
{
    CUndoJournal journal(m_Inventory.UndoFilePath());
    CUndoBatch batch;
    return FindUndoableBatch(journal, batch);
}

void CCookieDlg::OnUndoLastDeletion()
{
    CUndoJournal journal(m_Inventory.UndoFilePath());
    CUndoBatch batch;
    if (!FindUndoableBatch(journal, batch))
        return;
    const int nCount = batch.Count();
    const wxString strQuestion =
        wxString::Format("Put back %d cookie%s deleted at %s?", nCount, nCount == 1 ? "" : "s",
                         wxString::FromUTF8(FormatUndoTime(batch.nTime)));
    if (ShowMessageBox(strQuestion, "Jarvane Confirmation", wxYES_NO | wxICON_QUESTION, this) !=
        wxYES)
        return;
    CUndoResult result;
    {
        wxBusyCursor wait;
        result = RestoreBatch(journal, batch.nId);
    }
    RefreshCookies();
    wxString strReport = wxString::Format("%d cookie%s came back.", result.nRestored,
                                          result.nRestored == 1 ? "" : "s");
    if (result.nSkipped > 0)
        strReport += wxString::Format("\n\n%d %s skipped:", result.nSkipped,
                                      result.nSkipped == 1 ? "was" : "were");
    for (const auto& [strReason, nReasonCount] : result.reasons)
        strReport += wxString::Format("\n%d: %s", nReasonCount, wxString::FromUTF8(strReason));
    if (!result.strError.empty())
        strReport += "\n\n" + wxString::FromUTF8(result.strError);
    ShowMessageBox(strReport, "Jarvane", wxOK | wxICON_INFORMATION, this);
}

void CCookieDlg::ReportUndoRefusal(bool bByTimer)
{
    const std::string& strRefusal = m_Inventory.UndoRefusal();
    if (strRefusal.empty())
    {
        m_bUndoRefusalShown = false;
        return;
    }
    if (bByTimer && m_bUndoRefusalShown)
        return;
    m_bUndoRefusalShown = true;
    ShowMessageBox("Nothing was deleted: a copy of the cookies could not be kept in\n" +
                       wxString::FromUTF8(strRefusal) +
                       "\n\nMake room on the disk or mend the file, or set Keep=0 in section "
                       "[Undo] of Jarvane.INI to delete without keeping copies.",
                   "Jarvane", wxOK | wxICON_EXCLAMATION, this);
}
