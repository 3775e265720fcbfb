#pragma once

#include "inventory/cookie.h"
#include "platform/text_file.h"

// One Internet Explorer cookie: a file of its own in a cookie folder.
class CIECookie : public CCookie
{
public:
    CIECookie(std::string strName, std::string strPath)
        : CCookie(EBrowser::InternetExplorer, std::move(strName)), m_strPath(std::move(strPath))
    {
    }

    bool Delete() override;
    const std::string& StoreFile() const override { return m_strPath; }
    // Reads every cookie of the file.
    CCookieDetails GetDetails() const override;

    std::string m_strPath;
    // The file as the refresh read it, while m_bBytesKept, and what tells that
    // version of it apart: a deletion copies these bytes when the file is
    // still that version instead of reading it again.
    bool m_bBytesKept = false;
    CFileIdentity m_readIdentity;
    std::string m_strReadBytes;
    // The copy for undo just found the file it read: its deletion need not
    // look at it again.
    bool m_bSeenAtCopy = false;
};
