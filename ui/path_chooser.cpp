#include "ui/path_chooser.h"

#include <wx/dirdlg.h>
#include <wx/filedlg.h>

namespace
{
PathChooserHandler& Handler()
{
    static PathChooserHandler s_fnHandler;
    return s_fnHandler;
}
} // namespace

std::string ChoosePath(EPathKind kind, const wxString& strTitle, wxWindow* pParent)
{
    if (Handler())
        return Handler()(kind, strTitle);
    wxString strPath;
    if (kind == EPathKind::Folder)
    {
        wxDirDialog dialog(pParent, strTitle, wxEmptyString,
                           wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK)
            strPath = dialog.GetPath();
    }
    else
    {
        wxFileDialog dialog(pParent, strTitle, wxEmptyString, wxEmptyString,
                            wxFileSelectorDefaultWildcardStr, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK)
            strPath = dialog.GetPath();
    }
    return std::string(strPath.fn_str());
}

void SetPathChooserHandler(PathChooserHandler fnHandler)
{
    Handler() = std::move(fnHandler);
}
