#pragma once

#include <memory>
#include <wx/menu.h>

// The cookie list's context menu: "&Delete" (command 1001) and "&Change
// Protection" (command 1006), each greyed while its button is disabled; after
// a separator "&Properties..." (IDC_PROPERTIES), greyed while no row is selected.
std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled,
                                                bool bPropertiesEnabled);
