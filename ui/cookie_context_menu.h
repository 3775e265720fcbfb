#pragma once

#include <memory>
#include <wx/menu.h>

// The cookie list's context menu: "&Delete" (command 1001) and "&Change
// Protection" (command 1006), each greyed while its button is disabled; after a
// separator "Keep Site", greyed while no row is selected, and "Sites to Keep...";
// after another "&Properties..." (IDC_PROPERTIES), greyed while no row is selected.
std::unique_ptr<wxMenu> CreateCookieContextMenu(bool bDeleteEnabled, bool bProtectEnabled,
                                                bool bKeepSiteEnabled, bool bPropertiesEnabled);
