#include "inventory/undo_restore.h"

#include "inventory/store_kinds.h"
#include "inventory/stores/netscape/netscape_line.h"
#include "inventory/stores/sqlite/cookie_database.h"
#include "platform/path.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <filesystem>
#include <map>
#include <set>
#include <tuple>

namespace fs = std::filesystem;

namespace
{
const char kThere[] = "already there";

// Tallies what became of each entry.
class CTally
{
public:
    explicit CTally(CUndoResult& result) : m_result(result) {}

    void Restored(const CUndoEntry& entry)
    {
        ++m_result.nRestored;
        m_done.push_back(entry.nSeq);
    }
    // Skipped for good: the entry leaves the record.
    void Skipped(const CUndoEntry& entry, const std::string& strReason)
    {
        Count(strReason);
        m_done.push_back(entry.nSeq);
    }
    // Skipped for now: the entry stays to be put back later.
    void Pending(const std::string& strReason)
    {
        Count(strReason);
        m_result.bPending = true;
    }
    const std::vector<std::int64_t>& Done() const { return m_done; }

private:
    void Count(const std::string& strReason)
    {
        ++m_result.nSkipped;
        for (auto& reason : m_result.reasons)
            if (reason.first == strReason)
            {
                ++reason.second;
                return;
            }
        m_result.reasons.emplace_back(strReason, 1);
    }

    CUndoResult& m_result;
    std::vector<std::int64_t> m_done;
};

bool EntryThere(const std::string& strPath)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(strPath, error);
    // What cannot be looked at is not made.
    return fs::exists(status) || (error && status.type() != fs::file_type::not_found);
}

void RestoreIEFiles(const std::vector<const CUndoEntry*>& entries, CTally& tally)
{
    for (const CUndoEntry* pEntry : entries)
    {
        const std::string& strName = pEntry->strName;
        if (strName.empty() || strName == "." || strName == ".." ||
            strName.find_first_of("/\\") != std::string::npos)
        {
            tally.Skipped(*pEntry, "its copy cannot be read");
            continue;
        }
        const std::string strPath = AppendPathPart(pEntry->Store(), strName);
        if (EntryThere(strPath))
        {
            tally.Skipped(*pEntry, kThere);
            continue;
        }
        std::error_code error;
        fs::create_directories(pEntry->Store(), error);
        if (ReplaceFileContents(strPath, pEntry->strData))
            tally.Restored(*pEntry);
        else
            tally.Pending(pEntry->Store() + " could not be written");
    }
}

// Domain (without the HttpOnly prefix), path and name of a cookie line; a line
// of fewer fields is its own key.
std::tuple<std::string, std::string, std::string> NSCookieKey(const std::string& strLine)
{
    std::vector<std::string> fields;
    size_t nStart = 0;
    for (size_t nTab; (nTab = strLine.find('\t', nStart)) != std::string::npos; nStart = nTab + 1)
        fields.push_back(strLine.substr(nStart, nTab - nStart));
    fields.push_back(strLine.substr(nStart));
    if (fields.size() < 6)
        return {strLine, "", ""};
    std::string strDomain = fields[0];
    if (strDomain.rfind(NS_HTTPONLY_PREFIX, 0) == 0)
        strDomain.erase(0, sizeof(NS_HTTPONLY_PREFIX) - 1);
    return {strDomain, fields[2], fields[5]};
}

// The file is written as the Netscape rewrite writes it: its header line, the
// lines it does not understand, its cookie lines, then the lines put back. A file that is gone is
// made again, with the header other tools require.
void RestoreNSFile(const std::string& strFile, const std::vector<const CUndoEntry*>& entries,
                   CTally& tally)
{
    std::vector<std::string> lines;
    std::string strHeader = "# Netscape HTTP Cookie File";
    if (EntryThere(strFile))
    {
        if (!ReadTextLines(strFile, lines))
        {
            for (size_t i = 0; i < entries.size(); ++i)
                tally.Pending(strFile + " could not be read");
            return;
        }
        strHeader = !lines.empty() && IsNSHeaderLine(lines[0]) ? lines[0] : std::string();
    }
    std::vector<std::string> cookieLines, otherLines;
    std::set<std::tuple<std::string, std::string, std::string>> keys;
    for (const std::string& strLine : lines)
    {
        std::string_view name, kept;
        if (IsNSOtherLine(strLine))
            otherLines.push_back(strLine);
        if (!ParseNSCookieLine(strLine, name, kept))
            continue;
        cookieLines.emplace_back(kept);
        keys.insert(NSCookieKey(cookieLines.back()));
    }
    std::vector<const CUndoEntry*> added, there;
    for (const CUndoEntry* pEntry : entries)
    {
        if (keys.insert(NSCookieKey(pEntry->strData)).second)
        {
            cookieLines.push_back(pEntry->strData);
            added.push_back(pEntry);
        }
        else
            there.push_back(pEntry);
    }
    std::string strText = strHeader.empty() ? std::string() : strHeader + "\r\n";
    strText += JoinCrLfLines(otherLines) + JoinCrLfLines(cookieLines);
    if (!added.empty() && !ReplaceFileContents(strFile, strText))
    {
        for (size_t i = 0; i < entries.size(); ++i)
            tally.Pending(strFile + " could not be written");
        return;
    }
    for (const CUndoEntry* pEntry : added)
        tally.Restored(*pEntry);
    for (const CUndoEntry* pEntry : there)
        tally.Skipped(*pEntry, kThere);
}

void RestoreDatabase(EBrowser browser, const std::string& strDatabase,
                     const std::vector<const CUndoEntry*>& entries, CTally& tally)
{
    std::error_code error;
    if (!fs::is_regular_file(strDatabase, error))
    {
        for (const CUndoEntry* pEntry : entries)
            tally.Skipped(*pEntry, strDatabase + " no longer exists");
        return;
    }
    const auto fnIsInUse = KindOf(browser).fnIsInUse;
    if (fnIsInUse && fnIsInUse(strDatabase))
    {
        for (size_t i = 0; i < entries.size(); ++i)
            tally.Pending("close " + BrowserName(browser) + " and try again");
        return;
    }
    std::vector<CDatabaseColumns> rows;
    std::vector<const CUndoEntry*> readable;
    for (const CUndoEntry* pEntry : entries)
    {
        CDatabaseColumns row;
        if (DecodeDatabaseColumns(pEntry->strData, row.names, row.values) && !row.names.empty())
        {
            rows.push_back(std::move(row));
            readable.push_back(pEntry);
        }
        else
            tally.Skipped(*pEntry, "its copy cannot be read");
    }
    std::vector<EInsertOutcome> outcomes;
    if (!InsertCookieRows(CookieTableOf(strDatabase), strDatabase, rows, outcomes))
    {
        for (size_t i = 0; i < readable.size(); ++i)
            tally.Pending(strDatabase + " could not be written");
        return;
    }
    for (size_t i = 0; i < readable.size(); ++i)
        if (outcomes[i] == EInsertOutcome::Inserted)
            tally.Restored(*readable[i]);
        else if (outcomes[i] == EInsertOutcome::Exists)
            tally.Skipped(*readable[i], kThere);
        else
            tally.Skipped(*readable[i], "the database refused the row");
}
} // namespace

bool FindUndoableBatch(CUndoJournal& journal, CUndoBatch& batch)
{
    std::vector<CUndoBatch> batches;
    if (!journal.ListBatches(batches))
        return false;
    for (const CUndoBatch& candidate : batches)
        if (!candidate.bUndone && candidate.Count() > 0)
        {
            batch = candidate;
            return true;
        }
    return false;
}

CUndoResult RestoreBatch(CUndoJournal& journal, std::int64_t nBatch)
{
    CUndoResult result;
    std::vector<CUndoEntry> entries;
    std::vector<CUndoBatch> batches;
    if (!journal.ListBatches(batches) || !journal.LoadEntries(nBatch, entries))
    {
        result.strError = journal.Error();
        return result;
    }
    for (const CUndoBatch& batch : batches)
        if (batch.nId == nBatch)
        {
            result.nBatch = nBatch;
            result.nTime = batch.nTime;
        }
    if (result.nBatch == 0)
        return result;

    std::vector<const CUndoEntry*> ieEntries;
    std::map<std::string, std::vector<const CUndoEntry*>> nsFiles;
    std::map<std::pair<EBrowser, std::string>, std::vector<const CUndoEntry*>> databases;
    for (const CUndoEntry& entry : entries)
        if (entry.browser == EBrowser::InternetExplorer)
            ieEntries.push_back(&entry);
        else if (entry.browser == EBrowser::Netscape)
            nsFiles[entry.Store()].push_back(&entry);
        else
            databases[{entry.browser, entry.Store()}].push_back(&entry);

    CTally tally(result);
    RestoreIEFiles(ieEntries, tally);
    for (const auto& [strFile, fileEntries] : nsFiles)
        RestoreNSFile(strFile, fileEntries, tally);
    for (const auto& [database, databaseEntries] : databases)
        RestoreDatabase(database.first, database.second, databaseEntries, tally);
    if (!journal.Restored(nBatch, tally.Done()))
        result.strError = journal.Error();
    return result;
}
