#pragma once

#include "inventory/cookie_store.h"
#include "inventory/netscape_snapshot.h"
#include "platform/text_file.h"

#include <map>
#include <unordered_map>

#define NS_PROTECTION_FILE "NSPROT.DAT"

// Netscape's cookie files: one cookie per line. A deletion only drops the
// record; finishing the batch rewrites every listed file from the surviving
// records.
class CNSFileStore : public CCookieStore
{
public:
    CNSFileStore() : CCookieStore(EBrowser::Netscape, NS_PROTECTION_FILE) {}

    void ReadCookies(CCookieRecords& records) override;
    // Appends the record of one line of strFile, when it is a cookie line.
    static void AddNSCookie(const std::string& strLine, const std::string& strFile,
                            CCookieRecords& records);

    void StartBatch() override;
    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CCookieListModel& list, CCookieRecords& returned) override;

private:
    void ReturnUnwritten(const std::unordered_map<std::string, size_t>& fileIndex,
                         const std::vector<bool>& written, CCookieRecords& returned);

    CTextFileReader m_reader; // one reader for every file: its buffer is made once
    std::map<std::string, CNSFileSnapshot> m_snapshots; // by path, as listed
    // The cookies the batch deleted, until their files are written.
    std::vector<CNSCookie> m_deleted;
};
