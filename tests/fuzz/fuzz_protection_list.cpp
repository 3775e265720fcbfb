// The protection-list reader on arbitrary content, over a fixed inventory.
#include "input_file.h"
#include "inventory/cookie_inventory.h"
#include "platform/path.h"
#include "tests/support/inventory_test_access.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strList = WriteFuzzFile(NS_PROTECTION_FILE, pData, nSize);
    CCookieInventory inventory(FuzzFolder());
    for (const char* pszName : {"a.example", "b.example", "a.example"})
        CInventoryTestAccess::AddNSCookie(
            inventory, std::string(pszName) + "\tTRUE\t/\tFALSE\t0\tn\tv", "cookies.txt");
    CInventoryTestAccess::LoadProtection(inventory, NS_BROWSER_NAME, strList);
    CInventoryTestAccess::LoadProtection(inventory, IE_BROWSER_NAME, strList);
    // A mark covers every record of its name, and only of the list's browser.
    const auto& cookies = inventory.Cookies();
    if (cookies.size() != 3 || cookies[2]->m_bProtected != cookies[0]->m_bProtected)
        std::abort();
    return 0;
}
