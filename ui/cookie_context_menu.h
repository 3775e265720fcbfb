#pragma once

#include <memory>
#include <wx/menu.h>

// The cookie list's context menu: "&Delete" (command 1001) and "&Change
// Protection" (command 1006), each greyed while its button is disabled; after a
// separator "Keep Site", greyed while no row is selected, and "Sites to Keep...".
std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled,
                                                bool bKeepSiteEnabled);

// With the other additions, after the separator that opens them:
// "&Undo Last Deletion" (Ctrl+Z), greyed while nothing can be put back.
void AppendUndoMenuItem(wxMenu& menu, bool bEnabled);
