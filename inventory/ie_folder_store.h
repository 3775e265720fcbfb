#pragma once

#include "inventory/cookie_store.h"
#include "platform/text_file.h"

#define IE_PROTECTION_FILE "IEPROT.DAT"

// Internet Explorer's cookie folders: one file per cookie, the cookie's name on
// the file's third line. A deletion removes the file at once.
class CIEFolderStore : public CCookieStore
{
public:
    CIEFolderStore() : CCookieStore(EBrowser::InternetExplorer, IE_PROTECTION_FILE) {}

    void ReadCookies(CCookieRecords& records) override;
    // Appends the record of one cookie file, unless it has fewer than three lines.
    void AddIECookie(const std::string& strPath, CCookieRecords& records);

    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CCookieListModel&, CCookieRecords&) override {}

private:
    CTextFileReader m_reader; // one reader for every file: its buffer is made once
};
