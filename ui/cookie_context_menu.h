#pragma once

#include <memory>
#include <wx/menu.h>

// The cookie list's context menu: "&Delete" (command 1001) and "&Change
// Protection" (command 1006), each greyed while its button is disabled.
std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled);

// After a separator: "&Undo Last Deletion" (Ctrl+Z), greyed while nothing can
// be put back.
void AppendUndoMenuItem(wxMenu& menu, bool bEnabled);
