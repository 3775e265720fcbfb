#pragma once

#include <string>

// A folder that only the current user can reach, for files that must not be
// seen or made by others (a program's local channel): $XDG_RUNTIME_DIR when it
// is set and is such a folder; otherwise "jarvane-UID" in the temporary folder,
// made with mode 0700 when missing and used only when it is a real folder of
// this user that nobody else can enter. Empty when there is none.
std::string GetPrivateRuntimeFolder();
