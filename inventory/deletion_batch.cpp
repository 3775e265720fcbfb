#include "inventory/deletion_batch.h"

#include <map>
#include <string_view>
#include <utility>

CDeletionBatch::CDeletionBatch(std::string strUndoFile, EUndoHow how)
    : m_strUndoFile(std::move(strUndoFile)), m_undoHow(how)
{
}

void CDeletionBatch::NoteStayed(const CCookie& cookie)
{
    CDeletionReport::CCounts& counts = m_report.Of(cookie.Browser());
    if (cookie.IsInUse())
    {
        ++counts.nInUse;
        return;
    }
    ++counts.nNotWritten;
    m_report.unwrittenStores.push_back(cookie.StoreFile()); // made unique by Report
}

CDeletionReport CDeletionBatch::Report() const
{
    CDeletionReport report = m_report;
    std::unordered_set<std::string> seen;
    std::vector<std::string> unique;
    for (const std::string& strStore : m_report.unwrittenStores)
        if (seen.insert(strStore).second)
            unique.push_back(strStore);
    report.unwrittenStores = std::move(unique);
    return report;
}

bool CDeletionBatch::Record(CCookieStore* const (&stores)[kBrowserCount],
                            std::vector<CCookie*> (&batches)[kBrowserCount],
                            std::unordered_set<const CCookie*>& kept)
{
    size_t nDoomed = 0;
    for (const std::vector<CCookie*>& batch : batches)
        nDoomed += batch.size();
    m_undoRecords.clear();
    m_undoRecords.reserve(nDoomed);
    std::vector<CUndoEntry> entries;
    entries.reserve(nDoomed);
    for (CCookieStore* pStore : stores)
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
    CUndoJournal journal(m_strUndoFile);
    std::int64_t nBatch = 0;
    if (!journal.Record(m_undoHow, entries, nBatch))
    {
        for (CCookieStore* pStore : stores)
            pStore->AbandonBatch();
        m_undoRecords.clear();
        m_strUndoRefusal = journal.Error();
        return false;
    }
    m_nUndoBatch = nBatch;
    if (nBatch != 0)
        m_recorded.push_back({nBatch, std::move(entries)});
    return true;
}

// Best effort: a cookie left in the record although it stayed is found there
// already when the batch is put back.
void CDeletionBatch::ForgetKept(const std::unordered_set<const CCookie*>& kept)
{
    std::vector<std::int64_t> seqs;
    for (size_t i = 0; !kept.empty() && i < m_undoRecords.size(); ++i)
        if (kept.count(m_undoRecords[i]) != 0)
            seqs.push_back(static_cast<std::int64_t>(i));
    m_undoRecords.clear();
    if (m_nUndoBatch != 0 && !seqs.empty())
        CUndoJournal(m_strUndoFile).Forget(m_nUndoBatch, seqs);
}

// A Netscape cookie whose file could not be written stayed: it leaves the record.
void CDeletionBatch::ForgetUnwrittenLines(const CCookieRecords& returned)
{
    // By file and line: the record and place of each Netscape entry.
    std::map<std::pair<std::string_view, std::string_view>,
             std::vector<std::pair<std::int64_t, std::int64_t>>>
        lines;
    for (size_t i = 0; !returned.empty() && i < m_recorded.size(); ++i)
        for (const CUndoEntry& entry : m_recorded[i].entries)
            if (entry.browser == EBrowser::Netscape)
                lines[{entry.Store(), entry.strData}].push_back({m_recorded[i].nBatch, entry.nSeq});
    std::map<std::int64_t, std::vector<std::int64_t>> stayed;
    for (const auto& pCookie : returned)
    {
        if (pCookie->Browser() != EBrowser::Netscape)
            continue;
        const auto it = lines.find({pCookie->StoreFile(), pCookie->StoreLine()});
        if (it == lines.end() || it->second.empty())
            continue;
        stayed[it->second.back().first].push_back(it->second.back().second);
        it->second.pop_back();
    }
    m_recorded.clear();
    for (const auto& [nBatch, seqs] : stayed)
        CUndoJournal(m_strUndoFile).Forget(nBatch, seqs);
}
