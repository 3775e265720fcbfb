#pragma once

#include "inventory/cookie_details.h"
#include "inventory/store_kinds.h"

#include <string>
#include <utility>
#include <vector>

struct CDatabaseValue;

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
    // What finds the cookie within StoreFile(), for the store that deletes it:
    // the line of a cookies.txt file; empty for a kind with a file per cookie
    // or rows found by key.
    virtual const std::string& StoreLine() const;
    // The key of the cookie's row in its database; null for other kinds.
    virtual const std::vector<CDatabaseValue>* RowKey() const { return nullptr; }
    // Tells a kind with an "In use" check what the check found at deletion.
    virtual void SetInUse(bool) {}

    std::string m_strName;
    int m_bProtected = 0;
    int m_bKept = 0; // a site to keep covers the cookie's host
    // A keep list that could protect this cookie exists but could not be read:
    // whether it is protected is unknown, so it is kept like a protected one.
    bool m_bMarkUnknown = false;

private:
    EBrowser m_browser;
};
