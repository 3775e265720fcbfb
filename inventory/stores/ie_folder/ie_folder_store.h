#pragma once

#include "inventory/cookie_store.h"
#include "platform/text_file.h"

// Internet Explorer's cookie folders: one file per cookie, the cookie's name on
// the file's third line. A deletion removes the file at once.
class CIEFolderStore : public CCookieStore
{
public:
    CIEFolderStore() : CCookieStore(EBrowser::InternetExplorer) {}

    void SetLocations(std::vector<std::string> locations) override
    {
        m_IELocations = std::move(locations);
    }
    const std::vector<std::string>& Locations() const override { return m_IELocations; }

    void ReadCookies(CCookieRecords& records) override;
    // Appends the record of one cookie file, unless it has fewer than three
    // lines. pKeptBytes: when given, the file's status shows every change, and
    // the record may keep the bytes read for the copy a deletion takes, as
    // long as *pKeptBytes, which they are taken from, allows.
    static void AddIECookie(CTextFileReader& reader, const std::string& strPath,
                            CCookieRecords& records, size_t* pKeptBytes = nullptr);

    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CShownRecords&, CCookieRecords&) override {}

private:
    std::vector<std::string> m_IELocations; // the cookie folders, as listed
    CTextFileReader m_reader;               // one reader for every file: its buffer is made once
};

std::unique_ptr<CCookieStore> MakeIEFolderStore();
