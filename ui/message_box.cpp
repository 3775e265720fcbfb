#include "ui/message_box.h"

#include <wx/msgdlg.h>

namespace
{
MessageBoxHandler& Handler()
{
    static MessageBoxHandler s_fnHandler;
    return s_fnHandler;
}
} // namespace

int ShowMessageBox(const wxString& strText, const wxString& strCaption, long nStyle,
                   wxWindow* pParent)
{
    if (Handler())
        return Handler()(strText, strCaption, nStyle);
    return wxMessageBox(strText, strCaption, nStyle, pParent);
}

void SetMessageBoxHandler(MessageBoxHandler fnHandler)
{
    Handler() = std::move(fnHandler);
}
