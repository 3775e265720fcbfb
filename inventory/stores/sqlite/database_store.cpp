#include "inventory/stores/sqlite/database_store.h"

#include <filesystem>
#include <map>

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
    for (const std::string& strDatabase : m_databases)
    {
        if (!ReadCookieDatabase(m_table, strDatabase, rows))
            continue;
        const bool bInUse = IsDatabaseInUse(strDatabase);
        const auto pDatabase = std::make_shared<const std::string>(strDatabase);
        for (CDatabaseRow& row : rows)
            records.push_back(
                std::make_unique<CDatabaseCookie>(Browser(), std::move(row), pDatabase, bInUse));
    }
}

// The rows of a running browser's database stay, as at deletion; so do rows
// that cannot be read whole. The rows are copied as they are deleted, in a
// transaction that DeleteCookies commits once the copies are kept.
void CDatabaseStore::CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries)
{
    std::map<std::string, std::vector<size_t>> byDatabase;
    for (size_t i = 0; i < batch.size(); ++i)
        byDatabase[batch[i]->StoreFile()].push_back(i);
    std::vector<CUndoEntry*> copies(batch.size(), nullptr);
    std::vector<CUndoEntry> made(batch.size());
    for (const auto& [strDatabase, indexes] : byDatabase)
    {
        const bool bInUse = IsDatabaseInUse(strDatabase);
        std::vector<const std::vector<CDatabaseValue>*> keys;
        for (size_t i : indexes)
        {
            CCookie* pCookie = batch[i];
            pCookie->SetInUse(pCookie->IsInUse() || bInUse);
            keys.push_back(pCookie->RowKey());
        }
        std::string strNames;
        std::vector<std::string> rows;
        if (bInUse || !m_pending[strDatabase].Begin(m_table, strDatabase, keys, strNames, rows))
        {
            m_pending.erase(strDatabase);
            continue;
        }
        const auto pNames = std::make_shared<const std::string>(std::move(strNames));
        bool bCopied = false;
        for (size_t n = 0; n < indexes.size(); ++n)
        {
            if (rows[n].empty())
                continue;
            const size_t i = indexes[n];
            made[i] = {Browser(), strDatabase, batch[i]->m_strName, std::move(rows[n]), 0, pNames};
            copies[i] = &made[i];
            bCopied = true;
        }
        if (!bCopied)
            m_pending.erase(strDatabase); // nothing to delete: the database is let go now
    }
    for (size_t i = 0; i < batch.size(); ++i)
        if (copies[i])
            entries.push_back(std::move(*copies[i]));
        else
            batch[i] = nullptr;
}

// The browser is asked again at deletion time: records read while it ran go
// once it has closed, and a browser started since the refresh keeps its rows.
void CDatabaseStore::DeleteCookies(std::vector<CCookie*>& batch)
{
    std::map<std::string, std::vector<size_t>> byDatabase;
    for (size_t i = 0; i < batch.size(); ++i)
        byDatabase[batch[i]->StoreFile()].push_back(i);
    for (const auto& [strDatabase, indexes] : byDatabase)
    {
        const bool bInUse = IsDatabaseInUse(strDatabase);
        std::vector<const std::vector<CDatabaseValue>*> keys;
        keys.reserve(indexes.size());
        for (size_t i : indexes)
        {
            batch[i]->SetInUse(bInUse);
            keys.push_back(batch[i]->RowKey());
        }
        const auto itPending = m_pending.find(strDatabase);
        const bool bDeleted = itPending == m_pending.end()
                                  ? !bInUse && DeleteCookieRows(m_table, strDatabase, keys)
                                  : !bInUse && itPending->second.Commit();
        if (bDeleted)
        {
            m_bChanged = true;
            continue;
        }
        for (size_t i : indexes)
            batch[i] = nullptr; // still in the database: stays listed
    }
    m_pending.clear(); // what was not asked for is not deleted
}
