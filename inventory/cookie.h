#pragma once

#include "inventory/cookie_details.h"

#include <string>
#include <string_view>
#include <utility>

// The browser names: the browsers' keys in the records, the protection lists,
// the Netscape rewrite and the list's Browser column.
#define IE_BROWSER_NAME "Internet Explorer"
#define NS_BROWSER_NAME "Netscape Browser"
#define FF_BROWSER_NAME "Firefox"
#define CR_BROWSER_NAME "Chromium"

// The browser whose store a record comes from, the one way a record's kind is
// told. The values number the store kinds in the order the inventory reads them.
enum class EBrowser
{
    InternetExplorer,
    Netscape,
    Firefox,
    Chromium,
};
constexpr size_t kBrowserCount = 4;

inline size_t BrowserIndex(EBrowser browser)
{
    return static_cast<size_t>(browser);
}

// The browser's name, IE_BROWSER_NAME, NS_BROWSER_NAME, FF_BROWSER_NAME or
// CR_BROWSER_NAME, one string per browser
// for the life of the program.
const std::string& BrowserName(EBrowser browser);
// The browser of a name; false when no browser has that name exactly.
bool BrowserOfName(std::string_view strName, EBrowser& browser);

// One listed cookie. The inventory owns the records; list rows only point at them.
class CCookie
{
public:
    CCookie(EBrowser browser, std::string strName)
        : m_strName(std::move(strName)), m_browser(browser)
    {
    }
    virtual ~CCookie() = default;

    // Removes the cookie from its browser's store.
    virtual bool Delete() = 0;
    EBrowser Browser() const { return m_browser; }
    std::string GetBrowser() const { return BrowserName(m_browser); }

    std::string GetName() const { return m_strName; }
    std::string GetState() const
    {
        return m_bMarkUnknown ? "Unknown"
               : m_bProtected ? "Protected"
               : m_bKept      ? "Kept"
               : IsInUse()    ? "In use"
                              : "";
    }
    // True when the record may not be deleted: it is protected, a site to keep
    // covers it, or a list that would say whether it is protected cannot be read.
    bool IsKept() const { return m_bProtected || m_bKept || m_bMarkUnknown; }
    // True when a running browser holds the cookie's store, so that deleting
    // it now would be undone: deletion leaves it alone.
    virtual bool IsInUse() const { return false; }
    // The file that keeps the cookie: its own file, its cookies.txt or its database.
    virtual const std::string& StoreFile() const = 0;
    // What the store keeps of the cookie, its value left out. A kind that keeps
    // less in the record than its store holds reads the store now.
    virtual CCookieDetails GetDetails() const = 0;

    std::string m_strName;
    int m_bProtected = 0;
    int m_bKept = 0; // a site to keep covers the cookie's host
    // A keep list that could protect this cookie exists but could not be read:
    // whether it is protected is unknown, so it is kept like a protected one.
    bool m_bMarkUnknown = false;

private:
    EBrowser m_browser;
};

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
};

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
    CCookieDetails GetDetails() const override;

    std::string m_strFile;
    std::string m_strLine;
};
