// The cookies.txt reader and rewriter on arbitrary file content: after deleting
// every unprotected cookie, the file holds exactly its header line, if it had
// one, the lines that are neither blank, comments nor cookie lines, as read, and
// the protected lines.
#include "input_file.h"
#include "inventory/cookie_inventory.h"
#include "inventory/stores/netscape/netscape_line.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "platform/text_file.h"
#include "tests/support/inventory_test_access.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strPath = WriteFuzzFile("cookies.txt", pData, nSize);
    CCookieInventory inventory(FuzzFolder());
    inventory.SetLocations(EBrowser::Netscape, {strPath});
    CInventoryTestAccess::ReadNSCookies(inventory);
    CInventoryTestAccess::FillCookieList(inventory);

    std::vector<std::string> kept, original;
    if (ReadTextLines(strPath, original) && !original.empty() && IsNSHeaderLine(original[0]))
        kept.push_back(original[0]);
    for (const std::string& strLine : original)
        if (IsNSOtherLine(strLine))
            kept.push_back(strLine);
    const size_t nHeader = kept.size();
    for (size_t i = 0; i < inventory.Cookies().size(); i += 2)
        inventory.Cookies()[i]->m_bProtected = 1;
    for (int nItem = 0; nItem < inventory.CookieList().GetItemCount(); ++nItem)
    {
        const auto* pCookie =
            static_cast<const CNSCookie*>(inventory.CookieList().GetItemData(nItem));
        if (pCookie->m_bProtected)
            kept.push_back(pCookie->m_strLine);
    }
    const CDeletionReport report = inventory.DeleteAllUnprotected();

    std::vector<std::string> written;
    const bool bRead = ReadTextLines(strPath, written);
    if (inventory.Cookies().size() + nHeader != kept.size())
        std::abort();
    const CDeletionReport::CCounts& netscape = report.Of(EBrowser::Netscape);
    if (netscape.nDeleted + netscape.nNotWritten > 0 && (!bRead || written != kept))
        std::abort();
    return 0;
}
