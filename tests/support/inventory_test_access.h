#pragma once

#include "inventory/cookie_inventory.h"

#include <cstdint>
#include <memory>
#include <string>

// The inventory's reading steps, one at a time, for the tests and the
// benchmark: the program itself only refreshes whole.
class CInventoryTestAccess
{
public:
    static void ReadIECookies(CCookieInventory& inventory) { inventory.ReadIECookies(); }
    static void AddIECookie(CCookieInventory& inventory, const std::string& strPath)
    {
        inventory.AddIECookie(strPath);
    }
    static void ReadNSCookies(CCookieInventory& inventory) { inventory.ReadNSCookies(); }
    static void AddNSCookie(CCookieInventory& inventory, const std::string& strLine,
                            const std::string& strFile)
    {
        inventory.AddNSCookie(strLine, strFile);
    }
    static void AppendCookie(CCookieInventory& inventory, std::unique_ptr<CCookie> pCookie)
    {
        inventory.AppendCookie(std::move(pCookie));
    }
    static void FillCookieList(CCookieInventory& inventory) { inventory.FillCookieList(); }
    static void LoadProtection(CCookieInventory& inventory, const std::string& strBrowser,
                               const std::string& strFile)
    {
        inventory.LoadProtection(strBrowser, strFile);
    }
    static CCookie* FindCookie(const CCookieInventory& inventory, const std::string& strName,
                               const std::string& strBrowser)
    {
        return inventory.FindCookie(strName, strBrowser);
    }
    static int CompareCookies(std::intptr_t lParam1, std::intptr_t lParam2,
                              std::intptr_t lParamSort)
    {
        return CCookieInventory::CompareCookies(lParam1, lParam2, lParamSort);
    }
};
