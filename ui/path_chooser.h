#pragma once

#include <functional>
#include <string>
#include <wx/string.h>

class wxWindow;

enum class EPathKind
{
    File,
    Folder,
};

// Every file or folder chooser of the program goes through this function, so
// that tests can answer it in advance. The chosen path, or "" when the user
// cancelled.
std::string ChoosePath(EPathKind kind, const wxString& strTitle, wxWindow* pParent);

// Test seam: while a handler is set, it answers every chooser instead of the
// user. nullptr restores the real choosers.
using PathChooserHandler = std::function<std::string(EPathKind kind, const wxString& strTitle)>;
void SetPathChooserHandler(PathChooserHandler fnHandler);
