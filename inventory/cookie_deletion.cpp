#include "inventory/cookie_inventory.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
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

void CCookieInventory::StartBatch()
{
    m_bKeptUnknown = {};
    m_batch = CDeletionReport();
    for (CCookieStore* pStore : m_stores)
        pStore->StartBatch();
    m_strUndoRefusal.clear();
    m_nUndoBatch = 0;
    m_undoNSLines.clear();
}

void CCookieInventory::SetUndoRecording(bool bKeep)
{
    m_undoMode = bKeep ? EUndoMode::Keep : EUndoMode::DontKeep;
    if (!bKeep)
        CUndoJournal(UndoFilePath()).RemoveFile();
}

bool CCookieInventory::RecordBatch(std::vector<CCookie*> (&batches)[kBrowserCount],
                                   std::unordered_set<const CCookie*>& kept)
{
    m_undoRecords.clear();
    if (m_undoMode != EUndoMode::Keep)
    {
        if (m_undoMode == EUndoMode::DontKeep)
            CUndoJournal(UndoFilePath()).RemoveFile();
        return true;
    }
    std::vector<CUndoEntry> entries;
    for (CCookieStore* pStore : m_stores)
    {
        std::vector<CCookie*>& batch = batches[BrowserIndex(pStore->Browser())];
        if (batch.empty())
            continue;
        std::vector<CCookie*> copies = batch;
        pStore->CopyForUndo(copies, entries);
        size_t nKept = 0;
        for (size_t i = 0; i < batch.size(); ++i)
        {
            if (!copies[i])
            {
                kept.insert(batch[i]);
                continue;
            }
            m_undoRecords.push_back(batch[i]);
            batch[nKept++] = batch[i];
        }
        batch.resize(nKept);
    }
    CUndoJournal journal(UndoFilePath());
    std::int64_t nBatch = 0;
    if (!journal.Record(m_undoHow, entries, nBatch))
    {
        for (CCookieStore* pStore : m_stores)
            pStore->AbandonBatch();
        m_undoRecords.clear();
        m_strUndoRefusal = journal.Error();
        return false;
    }
    m_nUndoBatch = nBatch;
    for (CUndoEntry& entry : entries)
        if (entry.browser == EBrowser::Netscape)
            m_undoNSLines.push_back(
                {nBatch, entry.nSeq, std::move(entry.strStore), std::move(entry.strData)});
    return true;
}

// Best effort: a cookie left in the record although it stayed is found there
// already when the batch is put back.
void CCookieInventory::ForgetKept(const std::unordered_set<const CCookie*>& kept)
{
    std::vector<std::int64_t> seqs;
    for (size_t i = 0; !kept.empty() && i < m_undoRecords.size(); ++i)
        if (kept.count(m_undoRecords[i]) != 0)
            seqs.push_back(static_cast<std::int64_t>(i));
    m_undoRecords.clear();
    if (m_nUndoBatch != 0 && !seqs.empty())
        CUndoJournal(UndoFilePath()).Forget(m_nUndoBatch, seqs);
}

void CCookieInventory::DeleteCookie(int nItem)
{
    if (nItem < 0 || nItem >= m_CookieList.GetItemCount())
        return;
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), false);
    remove[static_cast<size_t>(nItem)] = true;
    DeleteRows(remove);
}

// Each store gets its doomed records as one batch, the stores in their fixed
// order; a row leaves the list only when its store let its cookie go.
void CCookieInventory::DeleteRows(std::vector<bool>& remove)
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
            m_bKeptUnknown[BrowserIndex(pCookie->Browser())] = true;
        remove[i] = !pCookie->m_bProtected && !pCookie->m_bKept && !bUnknown;
        if (remove[i])
            batches[BrowserIndex(pCookie->Browser())].push_back(pCookie);
        else
            ++m_batch.Of(pCookie->Browser()).nKept;
    }
    std::unordered_set<const CCookie*> kept;
    if (!RecordBatch(batches, kept))
    {
        for (const std::vector<CCookie*>& batch : batches)
            for (const CCookie* pCookie : batch)
                ++m_batch.Of(pCookie->Browser()).nNotWritten;
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
    ForgetKept(kept);
    // A kept row shows why it stayed when its store found it in use.
    for (size_t i = 0; !kept.empty() && i < remove.size(); ++i)
    {
        const CCookie* pCookie = m_CookieList.GetItemData(static_cast<int>(i));
        if (!remove[i] || kept.count(pCookie) == 0)
            continue;
        remove[i] = false;
        NoteStayed(*pCookie);
        if (pCookie->IsInUse())
            m_CookieList.SetItemText(static_cast<int>(i), COL_STATE, pCookie->GetState());
    }
    for (size_t i = 0; i < remove.size(); ++i)
        if (remove[i])
            ++m_batch.Of(m_CookieList.GetItemData(static_cast<int>(i))->Browser()).nDeleted;
    RemoveRows(remove);
}

void CCookieInventory::NoteStayed(const CCookie& cookie)
{
    CDeletionReport::CCounts& counts = m_batch.Of(cookie.Browser());
    if (cookie.IsInUse())
    {
        ++counts.nInUse;
        return;
    }
    ++counts.nNotWritten;
    m_batch.unwrittenStores.push_back(cookie.StoreFile()); // made unique by FinishReport
}

CDeletionReport CCookieInventory::FinishReport()
{
    std::unordered_set<std::string> seen;
    std::vector<std::string> unique;
    for (const std::string& strStore : m_batch.unwrittenStores)
        if (seen.insert(strStore).second)
            unique.push_back(strStore);
    m_batch.unwrittenStores = std::move(unique);
    return m_batch;
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
    StartBatch();
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), true);
    DeleteRows(remove);
    RewriteNSFiles();
    return FinishReport();
}

// Selected protected rows stay, still selected; the walk visits each selected
// row once, so it always ends.
CDeletionReport CCookieInventory::DeleteSelected(const std::function<void()>& fnRowsGone)
{
    StartBatch();
    const int nFirst = m_CookieList.GetNextSelected(-1);
    std::vector<bool> remove(static_cast<size_t>(m_CookieList.GetItemCount()), false);
    for (int nRow = nFirst; nRow != -1; nRow = m_CookieList.GetNextSelected(nRow))
        remove[static_cast<size_t>(nRow)] = true;
    DeleteRows(remove);
    if (fnRowsGone)
        fnRowsGone();
    SelectAfterDelete(nFirst);
    RewriteNSFiles();
    return FinishReport();
}

void CCookieInventory::RewriteNSFiles()
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
    ForgetUnwrittenLines(returned);
    if (returned.empty())
        return;
    for (const auto& pCookie : returned)
    {
        --m_batch.Of(pCookie->Browser()).nDeleted;
        NoteStayed(*pCookie);
    }
    const size_t nFirst = m_Cookies.size();
    std::move(returned.begin(), returned.end(), std::back_inserter(m_Cookies));
    ApplySites(nFirst);
    m_CookieList.InsertItems(RowsOf(nFirst));
}

// A Netscape cookie whose file could not be written stayed: it leaves the record.
void CCookieInventory::ForgetUnwrittenLines(const CCookieRecords& returned)
{
    std::map<std::pair<std::string_view, std::string_view>, std::vector<const CUndoNSLine*>> lines;
    if (!returned.empty())
        for (const CUndoNSLine& line : m_undoNSLines)
            lines[{line.strFile, line.strLine}].push_back(&line);
    std::map<std::int64_t, std::vector<std::int64_t>> stayed;
    for (const auto& pCookie : returned)
    {
        if (pCookie->Browser() != EBrowser::Netscape)
            continue;
        const auto it = lines.find({pCookie->StoreFile(), pCookie->StoreLine()});
        if (it == lines.end() || it->second.empty())
            continue;
        stayed[it->second.back()->nBatch].push_back(it->second.back()->nSeq);
        it->second.pop_back();
    }
    m_undoNSLines.clear();
    for (const auto& [nBatch, seqs] : stayed)
        CUndoJournal(UndoFilePath()).Forget(nBatch, seqs);
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
