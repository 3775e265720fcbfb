#include "inventory/control_state.h"

#include "inventory/cookie.h"
#include "inventory/cookie_list_model.h"

#include <cstdio>

CControlState ComputeControlState(const CCookieListModel& list, const std::string& strCurrentLabel)
{
    CControlState state;
    // A row a site keeps is spared as a protected one is.
    state.bDeleteEnabled = list.SelectionHasImage(0);
    for (int nRow = list.GetNextSelected(-1); state.bDeleteEnabled && nRow != -1;
         nRow = list.GetNextSelected(nRow))
        if (const CCookie* pCookie = list.GetItemData(nRow))
            state.bDeleteEnabled = !pCookie->m_bKept;
    state.bDeleteAllEnabled = list.GetItemCount() > 0;
    state.bProtectEnabled = list.SelectionHasImage(-1);
    const int nFirstSelected = list.GetNextSelected(-1);
    if (nFirstSelected == -1)
        state.strProtectLabel = strCurrentLabel;
    else
        state.strProtectLabel = list.GetItemImage(nFirstSelected) != 0 ? "&Unprotect" : "&Protect";

    char szText[64];
    std::snprintf(szText, sizeof(szText), "%d", list.GetItemCount());
    state.strCount = szText;
    // The tray tip field holds 63 characters and a terminating zero.
    std::snprintf(szText, sizeof(szText), "Jarvane (%ld Cookies)",
                  static_cast<long>(list.GetItemCount()));
    state.strTrayTip = szText;
    return state;
}
