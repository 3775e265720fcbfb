#include "inventory/stores/sqlite/database_store.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <unordered_set>

namespace fs = std::filesystem;

CDatabaseStore::CDatabaseStore(EBrowser browser, ECookieTable table)
    : CCookieStore(browser), m_table(table)
{
}

std::string DatabaseProfileName(const std::string& strDatabase)
{
    const fs::path folder = fs::path(strDatabase).parent_path();
    const fs::path profile = folder.filename() == "Network" ? folder.parent_path() : folder;
    return profile.filename().string();
}

CCookieDetails CDatabaseCookie::GetDetails() const
{
    CCookieDetails details{
        GetBrowser(), *m_pDatabase, DatabaseProfileName(*m_pDatabase), {m_facts}};
    details.cookies.front().strHost = m_strName;
    return details;
}

bool CDatabaseStore::IsDatabaseInUse(const std::string& strDatabase) const
{
    const auto fnIsInUse = KindOf(Browser()).fnIsInUse;
    return fnIsInUse && fnIsInUse(strDatabase);
}

void CDatabaseStore::ReadCookies(CCookieRecords& records)
{
    std::vector<CDatabaseRow> rows;
    m_rowsRead.clear();
    for (const std::string& strDatabase : m_databases)
    {
        if (!ReadCookieDatabase(m_table, strDatabase, rows))
            continue;
        m_rowsRead[strDatabase] += rows.size();
        const bool bInUse = IsDatabaseInUse(strDatabase);
        const auto pDatabase = std::make_shared<const std::string>(strDatabase);
        for (CDatabaseRow& row : rows)
            records.push_back(
                std::make_unique<CDatabaseCookie>(Browser(), std::move(row), pDatabase, bInUse));
    }
}

// Whether a batch keeps the database whole rather than each row it deletes:
// when it takes most of a large table, copying pages costs less.
bool CDatabaseStore::KeepsImage(const std::string& strDatabase, size_t nDoomed) const
{
    constexpr size_t kLeastImageRows = 1000;
    const auto it = m_rowsRead.find(strDatabase);
    return nDoomed >= kLeastImageRows && it != m_rowsRead.end() && 2 * nDoomed >= it->second;
}

namespace
{
// The records of a batch by database, each database once, in batch order.
// Records read together share their database's name, so most need no compare.
std::vector<std::pair<const std::string*, std::vector<size_t>>>
ByDatabase(const std::vector<CCookie*>& batch)
{
    std::vector<std::pair<const std::string*, std::vector<size_t>>> groups;
    size_t nLast = 0;
    for (size_t i = 0; i < batch.size(); ++i)
    {
        const std::string& strDatabase = batch[i]->StoreFile();
        if (groups.empty() ||
            (groups[nLast].first != &strDatabase && *groups[nLast].first != strDatabase))
        {
            nLast = 0;
            while (nLast < groups.size() && *groups[nLast].first != strDatabase)
                ++nLast;
            if (nLast == groups.size())
                groups.push_back({&strDatabase, {}});
        }
        groups[nLast].second.push_back(i);
    }
    return groups;
}
} // namespace

// The rows of a running browser's database stay, as at deletion; so do rows
// that cannot be read whole. The rows are copied as they are deleted, in a
// transaction that DeleteCookies commits once the copies are kept.
void CDatabaseStore::CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries)
{
    struct CCopied
    {
        std::shared_ptr<const std::string> pDatabase, pNames, pImage;
        std::vector<std::string> rows;
    };
    std::vector<CCopied> copied;
    // Per record of the batch: its database's copies and its row among them.
    std::vector<std::pair<size_t, size_t>> places(batch.size(), {SIZE_MAX, 0});
    for (const auto& [pDatabase, indexes] : ByDatabase(batch))
    {
        const std::string& strDatabase = *pDatabase;
        const bool bInUse = IsDatabaseInUse(strDatabase);
        std::vector<const std::vector<CDatabaseValue>*> keys;
        keys.reserve(indexes.size());
        for (size_t i : indexes)
        {
            CCookie* pCookie = batch[i];
            pCookie->SetInUse(pCookie->IsInUse() || bInUse);
            keys.push_back(pCookie->RowKey());
        }
        CDeletedRowCopies made;
        CPendingBatch& pending = m_pending[strDatabase];
        if (bInUse || !pending.deletion.Begin(m_table, strDatabase, keys,
                                              KeepsImage(strDatabase, keys.size()), made))
        {
            m_pending.erase(strDatabase);
            continue;
        }
        const bool bImage = !made.strImage.empty();
        CCopied copy{std::make_shared<const std::string>(strDatabase),
                     std::make_shared<const std::string>(bImage ? UndoImagePrefix(made.strTable)
                                                                : std::move(made.strNames)),
                     bImage ? std::make_shared<const std::string>(std::move(made.strImage))
                            : nullptr,
                     std::move(made.rows)};
        for (size_t n = 0; n < indexes.size(); ++n)
            if (!copy.rows[n].empty())
            {
                places[indexes[n]] = {copied.size(), n};
                pending.records.push_back(batch[indexes[n]]);
            }
        if (pending.records.empty())
            m_pending.erase(strDatabase); // nothing to delete: the database is let go now
        copied.push_back(std::move(copy));
    }
    entries.reserve(entries.size() + batch.size());
    for (size_t i = 0; i < batch.size(); ++i)
    {
        const auto [nCopy, nRow] = places[i];
        if (nCopy == SIZE_MAX)
        {
            batch[i] = nullptr;
            continue;
        }
        CCopied& copy = copied[nCopy];
        CUndoEntry& entry = entries.emplace_back();
        entry.browser = Browser();
        entry.pStore = copy.pDatabase;
        entry.strData = std::move(copy.rows[nRow]);
        entry.pPrefix = copy.pNames;
        entry.pImage = copy.pImage;
    }
}

// Commits what CopyForUndo began. The browser is asked again: one started
// since keeps its rows. A batch that is not the one copied deletes nothing.
void CDatabaseStore::CommitPending(std::vector<CCookie*>& batch)
{
    size_t nRecords = 0;
    for (const auto& pending : m_pending)
        nRecords += pending.second.records.size();
    if (nRecords != batch.size())
    {
        m_pending.clear();
        std::fill(batch.begin(), batch.end(), nullptr);
        return;
    }
    std::unordered_set<const CCookie*> stayed;
    for (auto& [strDatabase, pending] : m_pending)
    {
        const bool bInUse = IsDatabaseInUse(strDatabase);
        if (!bInUse && pending.deletion.Commit())
        {
            m_bChanged = true;
            continue;
        }
        for (CCookie* pCookie : pending.records)
        {
            pCookie->SetInUse(bInUse);
            stayed.insert(pCookie);
        }
    }
    for (CCookie*& pCookie : batch)
        if (!stayed.empty() && stayed.count(pCookie) != 0)
            pCookie = nullptr; // still in the database: stays listed
    m_pending.clear();
}

// The browser is asked again at deletion time: records read while it ran go
// once it has closed, and a browser started since the refresh keeps its rows.
void CDatabaseStore::DeleteCookies(std::vector<CCookie*>& batch)
{
    if (!m_pending.empty())
    {
        CommitPending(batch);
        return;
    }
    for (const auto& [pDatabase, indexes] : ByDatabase(batch))
    {
        const std::string& strDatabase = *pDatabase;
        const bool bInUse = IsDatabaseInUse(strDatabase);
        std::vector<const std::vector<CDatabaseValue>*> keys;
        keys.reserve(indexes.size());
        for (size_t i : indexes)
        {
            batch[i]->SetInUse(bInUse);
            keys.push_back(batch[i]->RowKey());
        }
        if (!bInUse && DeleteCookieRows(m_table, strDatabase, keys))
        {
            m_bChanged = true;
            continue;
        }
        for (size_t i : indexes)
            batch[i] = nullptr; // still in the database: stays listed
    }
    m_pending.clear(); // what was not asked for is not deleted
}
