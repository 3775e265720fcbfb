#pragma once

#include <memory>
#include <wx/menu.h>

// The cookie list's context menu: "&Delete" (command 1001) and "&Change
// Protection" (command 1006), each greyed while its button is disabled; after a
// separator the additions: "Keep Site", greyed while no row is selected,
// "Sites to Keep..." and "&Properties..." (IDC_PROPERTIES), greyed while no row
// is selected.
std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled,
                                                bool bKeepSiteEnabled, bool bPropertiesEnabled);

// With the other additions, after the separator that opens them:
// "&Undo Last Deletion" (Ctrl+Z), greyed while nothing can be put back.
void AppendUndoMenuItem(wxMenu& menu, bool bEnabled);
