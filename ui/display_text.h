#pragma once

#include <string>
#include <wx/string.h>

// Text of the program's 8-bit strings for a control. Names read from cookie
// files are usually UTF-8 but may be any 8-bit text; bytes that are not valid
// UTF-8 are shown one character per byte instead of vanishing.
inline wxString ToDisplayText(const std::string& strText)
{
    wxString strShown = wxString::FromUTF8(strText.data(), strText.size());
    if (strShown.empty() && !strText.empty())
        strShown = wxString::From8BitData(strText.data(), strText.size());
    return strShown;
}
