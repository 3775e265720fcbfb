#pragma once

#include <string>
#include <string_view>
#include <utility>

// The browser names: the browsers' keys in the records, the protection lists,
// the Netscape rewrite and the list's Browser column.
#define IE_BROWSER_NAME "Internet Explorer"
#define NS_BROWSER_NAME "Netscape Browser"
#define FF_BROWSER_NAME "Firefox"
#define CR_BROWSER_NAME "Chromium"

// One listed cookie. The inventory owns the records; list rows only point at them.
class CCookie
{
public:
    explicit CCookie(std::string strName) : m_strName(std::move(strName)) {}
    virtual ~CCookie() = default;

    // Removes the cookie from its browser's store.
    virtual bool Delete() = 0;
    // The browser's name, IE_BROWSER_NAME or NS_BROWSER_NAME, without a copy.
    virtual const char* BrowserName() const = 0;
    std::string GetBrowser() const { return BrowserName(); }
    bool IsBrowser(std::string_view strBrowser) const { return strBrowser == BrowserName(); }

    std::string GetName() const { return m_strName; }
    std::string GetState() const { return m_bProtected ? "Protected" : ""; }

    std::string m_strName;
    int m_bProtected = 0;
};

// One Internet Explorer cookie: a file of its own in a cookie folder.
class CIECookie : public CCookie
{
public:
    CIECookie(std::string strName, std::string strPath)
        : CCookie(std::move(strName)), m_strPath(std::move(strPath))
    {
    }

    bool Delete() override;
    const char* BrowserName() const override { return IE_BROWSER_NAME; }

    std::string m_strPath;
};

// One cookie line of a Netscape cookie file. Deleting it only drops the record;
// the line leaves its file when the file is rewritten at the end of the batch.
class CNSCookie : public CCookie
{
public:
    CNSCookie(std::string strName, std::string strFile, std::string strLine)
        : CCookie(std::move(strName)), m_strFile(std::move(strFile)), m_strLine(std::move(strLine))
    {
    }

    bool Delete() override { return true; }
    const char* BrowserName() const override { return NS_BROWSER_NAME; }

    std::string m_strFile;
    std::string m_strLine;
};
