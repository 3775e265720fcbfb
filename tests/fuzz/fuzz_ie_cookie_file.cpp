// The Internet Explorer cookie-file reader on arbitrary file content.
#include "input_file.h"
#include "inventory/cookie_inventory.h"
#include "tests/support/inventory_test_access.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strPath = WriteFuzzFile("cookie.txt", pData, nSize);
    CCookieInventory inventory(FuzzFolder());
    inventory.SetLocations(EBrowser::InternetExplorer, {FuzzFolder()});
    CInventoryTestAccess::ReadIECookies(inventory);
    // One file gives at most one record, named by its third line.
    if (inventory.Cookies().size() > 1)
        std::abort();
    CInventoryTestAccess::FillCookieList(inventory);
    if (inventory.CookieList().GetItemCount() != static_cast<int>(inventory.Cookies().size()))
        std::abort();
    return 0;
}
