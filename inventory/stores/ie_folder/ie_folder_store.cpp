#include "inventory/stores/ie_folder/ie_folder_store.h"

#include "inventory/stores/ie_folder/ie_cookie.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/safe_file.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace
{
// Internet Explorer keeps at most about 10 KiB of cookies per site, in one
// file; larger files, and any beyond the bytes kept in all, are read again at
// deletion.
constexpr size_t kKeptFileBytes = 64 * 1024;
constexpr size_t kKeptBytesInAll = 32 * 1024 * 1024;
} // namespace

void CIEFolderStore::ReadCookies(CCookieRecords& records)
{
    size_t nKeptBytes = kKeptBytesInAll;
    for (const std::string& strFolder : m_IELocations)
    {
        std::vector<CFindEntry> entries;
        if (!FindEntries(strFolder, "*.txt", entries))
            continue;
        size_t* pKeptBytes = StatusShowsEveryChange(strFolder) ? &nKeptBytes : nullptr;
        // A folder named like a cookie file is passed on too and fails to open.
        for (const CFindEntry& entry : entries)
            AddIECookie(m_reader, AppendPathPart(strFolder, entry.strName), records, pKeptBytes);
    }
}

void CIEFolderStore::AddIECookie(CTextFileReader& reader, const std::string& strPath,
                                 CCookieRecords& records, size_t* pKeptBytes)
{
    if (!reader.Open(strPath))
        return;
    std::string strLine;
    bool bComplete = true;
    for (int nLine = 0; nLine < 3 && bComplete; ++nLine)
        bComplete = reader.ReadLine(strLine); // false at the end or on a read error
    if (bComplete)
    {
        auto pCookie = std::make_unique<CIECookie>(std::move(strLine), strPath);
        pCookie->m_bBytesKept =
            pKeptBytes && reader.GetWholeFile(std::min(kKeptFileBytes, *pKeptBytes),
                                              pCookie->m_strReadBytes, pCookie->m_readIdentity);
        if (pCookie->m_bBytesKept)
            *pKeptBytes -= pCookie->m_strReadBytes.size();
        records.push_back(std::move(pCookie));
    }
    reader.Close();
}

// The bytes the refresh kept serve while the file is still the version it
// read; any other file is read now, and one that cannot be read is not
// deleted: it could not be made again.
void CIEFolderStore::CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries)
{
    std::shared_ptr<const std::string> pFolder;
    for (CCookie*& pCookie : batch)
    {
        CIECookie& cookie = static_cast<CIECookie&>(*pCookie);
        cookie.m_bSeenAtCopy = false;
        const std::string& strPath = cookie.m_strPath;
        CUndoEntry entry;
        entry.browser = EBrowser::InternetExplorer;
        const size_t nSeparator = strPath.rfind(PATH_SEP);
        const std::string_view folder = nSeparator == std::string::npos
                                            ? std::string_view(".")
                                            : std::string_view(strPath).substr(0, nSeparator);
        if (!pFolder || *pFolder != folder)
            pFolder = std::make_shared<const std::string>(folder);
        entry.pStore = pFolder;
        entry.strName = nSeparator == std::string::npos ? strPath : strPath.substr(nSeparator + 1);
        CFileIdentity identity;
        if (cookie.m_bBytesKept && IdentityOfEntry(strPath, identity) &&
            identity == cookie.m_readIdentity)
        {
            cookie.m_bSeenAtCopy = true;
            entry.strData = cookie.m_strReadBytes;
            entries.push_back(std::move(entry));
            continue;
        }
        // Read to its end, whatever its size was when looked at.
        std::error_code error;
        const std::uintmax_t nSize = std::filesystem::file_size(strPath, error);
        if (!error && ReadFileBytes(strPath, static_cast<size_t>(nSize) + 1, entry.strData) &&
            entry.strData.size() <= nSize)
            entries.push_back(std::move(entry));
        else
            pCookie = nullptr;
    }
}

void CIEFolderStore::DeleteCookies(std::vector<CCookie*>& batch)
{
    // A file that cannot be deleted keeps its row; one that is gone already is
    // as good as deleted.
    for (CCookie*& pCookie : batch)
    {
        CIECookie& cookie = static_cast<CIECookie&>(*pCookie);
        const bool bSeen = std::exchange(cookie.m_bSeenAtCopy, false);
        if (DeleteFileAt(cookie.m_strPath, bSeen) || !EntryExists(cookie.m_strPath))
            m_bChanged = true;
        else
            pCookie = nullptr;
    }
}

std::unique_ptr<CCookieStore> MakeIEFolderStore()
{
    return std::make_unique<CIEFolderStore>();
}
