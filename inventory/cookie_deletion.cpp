#include "inventory/cookie_inventory.h"
#include "inventory/deletion_batch.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <unordered_set>
#include <vector>

namespace
{
// The records of the list's rows, in display order.
CShownRecords ShownRecords(const CCookieListModel& list)
{
    CShownRecords shown;
    shown.reserve(static_cast<size_t>(list.GetItemCount()));
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        if (const CCookie* pCookie = list.GetItemData(nRow))
            shown.push_back(pCookie);
    return shown;
}
} // namespace

CDeletionBatch CCookieInventory::StartBatch()
{
    m_bKeptUnknown = {};
    m_strUndoRefusal.clear();
    for (CCookieStore* pStore : m_stores)
        pStore->StartBatch();
    return CDeletionBatch(UndoFilePath(), m_undoHow);
}

CDeletionReport CCookieInventory::EndBatch(const CDeletionBatch& deletion)
{
    m_bKeptUnknown = deletion.KeptUnknown();
    m_strUndoRefusal = deletion.UndoRefusal();
    return deletion.Report();
}

void CCookieInventory::SetUndoRecording(bool bKeep)
{
    m_undoMode = bKeep ? EUndoMode::Keep : EUndoMode::DontKeep;
    if (!bKeep)
        CUndoJournal(UndoFilePath()).RemoveFile();
}

bool CCookieInventory::RecordBatch(CDeletionBatch& deletion,
                                   std::vector<CCookie*> (&batches)[kBrowserCount],
                                   std::unordered_set<const CCookie*>& kept)
{
    if (m_undoMode != EUndoMode::Keep)
    {
        if (m_undoMode == EUndoMode::DontKeep)
            CUndoJournal(UndoFilePath()).RemoveFile();
        return true;
    }
    return deletion.Record(m_stores, batches, kept);
}

void CCookieInventory::DeleteCookie(CDeletionBatch& deletion, int nItem)
{
    if (nItem < 0 || nItem >= m_CookieList.GetItemCount())
        return;
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), false);
    remove[static_cast<size_t>(nItem)] = true;
    DeleteRows(deletion, remove);
}

// Each store gets its doomed records as one batch, the stores in their fixed
// order; a row leaves the list only when its store let its cookie go.
void CCookieInventory::DeleteRows(CDeletionBatch& deletion, std::vector<bool>& remove)
{
    std::vector<CCookie*> batches[kBrowserCount];
    for (size_t i = 0; i < remove.size(); ++i)
    {
        CCookie* pCookie = m_CookieList.GetItemData(static_cast<int>(i));
        if (!remove[i] || !pCookie)
        {
            remove[i] = false;
            continue;
        }
        const bool bUnknown = pCookie->m_bMarkUnknown || IsBlocked(pCookie->Browser());
        if (bUnknown)
            deletion.NoteKeptUnknown(pCookie->Browser());
        remove[i] = !pCookie->m_bProtected && !pCookie->m_bKept && !bUnknown;
        if (remove[i])
            batches[BrowserIndex(pCookie->Browser())].push_back(pCookie);
        else
            ++deletion.Counts(pCookie->Browser()).nKept;
    }
    std::unordered_set<const CCookie*> kept;
    if (!RecordBatch(deletion, batches, kept))
    {
        for (const std::vector<CCookie*>& batch : batches)
            for (const CCookie* pCookie : batch)
                ++deletion.Counts(pCookie->Browser()).nNotWritten;
        std::fill(remove.begin(), remove.end(), false);
        return; // nothing is deleted that could not be put back
    }
    for (CCookieStore* pStore : m_stores)
    {
        std::vector<CCookie*>& batch = batches[BrowserIndex(pStore->Browser())];
        if (batch.empty())
            continue;
        const std::vector<CCookie*> asked = batch;
        pStore->DeleteCookies(batch);
        for (size_t i = 0; i < batch.size(); ++i)
            if (!batch[i])
                kept.insert(asked[i]);
    }
    deletion.ForgetKept(kept);
    // A kept row shows why it stayed when its store found it in use.
    for (size_t i = 0; !kept.empty() && i < remove.size(); ++i)
    {
        const CCookie* pCookie = m_CookieList.GetItemData(static_cast<int>(i));
        if (!remove[i] || kept.count(pCookie) == 0)
            continue;
        remove[i] = false;
        deletion.NoteStayed(*pCookie);
        if (pCookie->IsInUse())
            m_CookieList.SetItemText(static_cast<int>(i), COL_STATE, pCookie->GetState());
    }
    for (size_t i = 0; i < remove.size(); ++i)
        if (remove[i])
            ++deletion.Counts(m_CookieList.GetItemData(static_cast<int>(i))->Browser()).nDeleted;
    RemoveRows(remove);
}

void CCookieInventory::RemoveRows(const std::vector<bool>& remove)
{
    std::unordered_set<const CCookie*> doomed;
    doomed.reserve(remove.size());
    for (size_t i = 0; i < remove.size(); ++i)
        if (remove[i])
            doomed.insert(m_CookieList.GetItemData(static_cast<int>(i)));
    m_CookieList.DeleteItems(remove);
    // Like a search from the first slot per record: the first slot holding a
    // doomed record is freed, a record that is not in the inventory is not.
    size_t nKept = 0;
    for (std::unique_ptr<CCookie>& pCookie : m_Cookies)
        if (doomed.erase(pCookie.get()) == 0)
            m_Cookies[nKept++] = std::move(pCookie);
    if (nKept == 0 && !m_Cookies.empty())
        m_bEmptiedByDeletion = true;
    m_Cookies.resize(nKept);
}

CDeletionReport CCookieInventory::DeleteAllUnprotected()
{
    CDeletionBatch deletion = StartBatch();
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), true);
    DeleteRows(deletion, remove);
    RewriteNSFiles(deletion);
    return EndBatch(deletion);
}

// Selected protected rows stay, still selected; the walk visits each selected
// row once, so it always ends.
CDeletionReport CCookieInventory::DeleteSelected(const std::function<void()>& fnRowsGone)
{
    CDeletionBatch deletion = StartBatch();
    const int nFirst = m_CookieList.GetNextSelected(-1);
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), false);
    for (int nRow = nFirst; nRow != -1; nRow = m_CookieList.GetNextSelected(nRow))
        remove[static_cast<size_t>(nRow)] = true;
    DeleteRows(deletion, remove);
    if (fnRowsGone)
        fnRowsGone();
    SelectAfterDelete(nFirst);
    RewriteNSFiles(deletion);
    return EndBatch(deletion);
}

void CCookieInventory::RewriteNSFiles(CDeletionBatch& deletion)
{
    CCookieRecords returned;
    std::optional<CShownRecords> shown; // taken once, when a store needs it
    for (CCookieStore* pStore : m_stores)
    {
        if (!pStore->Changed() || pStore->Locations().empty())
            continue;
        if (!shown)
            shown = ShownRecords(m_CookieList);
        pStore->FinishBatch(*shown, returned);
    }
    deletion.ForgetUnwrittenLines(returned);
    if (returned.empty())
        return;
    for (const auto& pCookie : returned)
    {
        --deletion.Counts(pCookie->Browser()).nDeleted;
        deletion.NoteStayed(*pCookie);
    }
    const size_t nFirst = m_Cookies.size();
    std::move(returned.begin(), returned.end(), std::back_inserter(m_Cookies));
    ApplySites(nFirst);
    m_CookieList.InsertItems(RowsOf(nFirst));
}

void CCookieInventory::SelectAfterDelete(int nFirst)
{
    const int nCount = m_CookieList.GetItemCount();
    if (nFirst < 0 || nCount == 0)
        return;
    const int nRow = nFirst < nCount ? nFirst : nCount - 1;
    m_CookieList.SetItemSelected(nRow, true);
    m_CookieList.SetFocusedItem(nRow);
}
