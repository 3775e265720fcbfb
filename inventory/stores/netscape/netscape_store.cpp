#include "inventory/stores/netscape/netscape_store.h"

#include "inventory/stores/netscape/netscape_line.h"
#include "platform/safe_file.h"

#include <unordered_map>

void CNSFileStore::ReadCookies(CCookieRecords& records)
{
    m_snapshots.clear();
    for (const std::string& strFile : m_NSLocations)
    {
        auto inserted = m_snapshots.emplace(strFile, CNSFileSnapshot());
        if (!inserted.second)
            continue; // a path listed twice gives its cookies once
        CNSFileSnapshot& snapshot = inserted.first->second;
        snapshot.StartReading(strFile);
        if (!m_reader.Open(strFile))
            continue;
        const size_t nFirstRecord = records.size();
        std::string strLine;
        for (bool bFirst = true; m_reader.ReadLine(strLine); bFirst = false)
        {
            if (bFirst && IsNSHeaderLine(strLine))
                snapshot.SetHeader(strLine);
            const size_t nBefore = records.size();
            AddNSCookie(strLine, strFile, records);
            if (records.size() != nBefore)
                snapshot.AddReadLine(records.back()->StoreLine());
            else if (IsNSOtherLine(strLine))
                snapshot.AddOtherLine(strLine);
        }
        const bool bReadable = !m_reader.Failed();
        m_reader.Close();
        snapshot.FinishReading(bReadable);
        if (!bReadable)
            records.resize(nFirstRecord);
    }
}

void CNSFileStore::AddNSCookie(const std::string& strLine, const std::string& strFile,
                               CCookieRecords& records)
{
    std::string_view name, kept;
    if (ParseNSCookieLine(strLine, name, kept))
        records.push_back(
            std::make_unique<CNSCookie>(std::string(name), strFile, std::string(kept)));
}

void CNSFileStore::StartBatch()
{
    m_bNSChanged = false;
    m_deleted.clear();
}

void CNSFileStore::CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries)
{
    std::shared_ptr<const std::string> pFile;
    for (const CCookie* pCookie : batch)
    {
        if (!pFile || *pFile != pCookie->StoreFile())
            pFile = std::make_shared<const std::string>(pCookie->StoreFile());
        CUndoEntry& entry = entries.emplace_back();
        entry.browser = EBrowser::Netscape;
        entry.pStore = pFile;
        entry.strName = pCookie->m_strName;
        entry.strData = pCookie->StoreLine();
    }
}

void CNSFileStore::DeleteCookies(std::vector<CCookie*>& batch)
{
    // The records are freed after the call: their contents move.
    for (CCookie* pCookie : batch)
    {
        pCookie->Delete();
        CNSCookie& cookie = static_cast<CNSCookie&>(*pCookie);
        m_deleted.emplace_back(std::move(cookie.m_strName), std::move(cookie.m_strFile),
                               std::move(cookie.m_strLine));
    }
    m_bNSChanged = m_bNSChanged || !batch.empty();
}

// Every listed file is replaced from its header line, if it had one, the lines
// it held that are neither blank, comments nor cookie lines, and the
// surviving records of that file, in the list's current order, followed by the cookie lines another
// program added since the refresh (less the lines it removed meanwhile). Each file is replaced
// whole, so a failed write keeps the old file; a file that could not be read at
// the last refresh, or that changed since and cannot be read now, is left as it
// is.
void CNSFileStore::FinishBatch(const CShownRecords& shown, CCookieRecords& returned)
{
    std::vector<std::string> files;
    std::unordered_map<std::string, size_t> fileIndex;
    for (const std::string& strFile : m_NSLocations)
        if (fileIndex.emplace(strFile, files.size()).second)
            files.push_back(strFile);

    std::vector<std::vector<std::string>> linesOfFile(files.size());
    for (const CCookie* pCookie : shown)
    {
        if (pCookie->Browser() != EBrowser::Netscape)
            continue;
        const auto it = fileIndex.find(pCookie->StoreFile());
        if (it != fileIndex.end())
            linesOfFile[it->second].push_back(pCookie->StoreLine());
    }

    std::vector<bool> written(files.size(), false);
    for (size_t i = 0; i < files.size(); ++i)
    {
        const auto itSnapshot = m_snapshots.find(files[i]);
        if (itSnapshot == m_snapshots.end() || !itSnapshot->second.IsReadable())
            continue;
        CNSFileSnapshot& snapshot = itSnapshot->second;
        if (!snapshot.TakeInOutsideChanges(files[i]))
            continue;
        const std::vector<std::string> lines = snapshot.LinesToWrite(std::move(linesOfFile[i]));
        std::string strText =
            snapshot.Header().empty() ? std::string() : snapshot.Header() + "\r\n";
        strText += JoinCrLfLines(snapshot.OtherLines());
        strText += JoinCrLfLines(lines);
        written[i] = ReplaceFileContents(files[i], strText);
        if (written[i])
            snapshot.Written(files[i], lines);
    }
    ReturnUnwritten(fileIndex, written, returned);
}

// A cookie whose file could not be written is still in that file, so it is
// listed again; one whose file is no longer a regular file is gone with it.
void CNSFileStore::ReturnUnwritten(const std::unordered_map<std::string, size_t>& fileIndex,
                                   const std::vector<bool>& written, CCookieRecords& returned)
{
    std::vector<int> stillThere(written.size(), -1); // -1: not looked at yet
    for (CNSCookie& cookie : m_deleted)
    {
        const auto it = fileIndex.find(cookie.m_strFile);
        if (it == fileIndex.end() || written[it->second])
            continue;
        int& nThere = stillThere[it->second];
        if (nThere < 0)
            nThere = StampOfFile(cookie.m_strFile).bExists ? 1 : 0;
        if (nThere)
            returned.push_back(std::make_unique<CNSCookie>(std::move(cookie)));
    }
    m_deleted.clear();
}

std::unique_ptr<CCookieStore> MakeNSFileStore()
{
    return std::make_unique<CNSFileStore>();
}
