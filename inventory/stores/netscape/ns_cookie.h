#pragma once

#include "inventory/cookie.h"

// One cookie line of a Netscape cookie file. Deleting it only drops the record;
// the line leaves its file when the file is rewritten at the end of the batch.
class CNSCookie : public CCookie
{
public:
    CNSCookie(std::string strName, std::string strFile, std::string strLine)
        : CCookie(EBrowser::Netscape, std::move(strName)), m_strFile(std::move(strFile)),
          m_strLine(std::move(strLine))
    {
    }

    bool Delete() override { return true; }
    const std::string& StoreFile() const override { return m_strFile; }
    const std::string& StoreLine() const override { return m_strLine; }
    CCookieDetails GetDetails() const override;

    std::string m_strFile;
    std::string m_strLine;
};
