#pragma once

#include "inventory/cookie_store.h"
#include "inventory/stores/netscape/netscape_snapshot.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "platform/text_file.h"

#include <map>
#include <unordered_map>

// Netscape's cookie files: one cookie per line. A deletion only drops the
// record; finishing the batch rewrites every listed file from the surviving
// records.
class CNSFileStore : public CCookieStore
{
public:
    CNSFileStore() : CCookieStore(EBrowser::Netscape) {}

    void SetLocations(std::vector<std::string> locations) override
    {
        m_NSLocations = std::move(locations);
    }
    const std::vector<std::string>& Locations() const override { return m_NSLocations; }

    void ReadCookies(CCookieRecords& records) override;
    // Appends the record of one line of strFile, when it is a cookie line.
    static void AddNSCookie(const std::string& strLine, const std::string& strFile,
                            CCookieRecords& records);

    void StartBatch() override;
    bool Changed() const override { return m_bNSChanged; }
    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CShownRecords& shown, CCookieRecords& returned) override;

private:
    void ReturnUnwritten(const std::unordered_map<std::string, size_t>& fileIndex,
                         const std::vector<bool>& written, CCookieRecords& returned);

    std::vector<std::string> m_NSLocations; // the cookie files, as listed
    bool m_bNSChanged = false;              // the batch deleted a cookie: the files are rewritten
    CTextFileReader m_reader;               // one reader for every file: its buffer is made once
    std::map<std::string, CNSFileSnapshot> m_snapshots; // by path, as listed
    // The cookies the batch deleted, until their files are written.
    std::vector<CNSCookie> m_deleted;
};

std::unique_ptr<CCookieStore> MakeNSFileStore();
