#pragma once

#include "inventory/cookie_list_model.h"

#include <functional>
#include <wx/listctrl.h>

// The cookie list on screen: a virtual report list that shows the rows of a
// CCookieListModel. The model owns the rows' order, images, selection and
// focus; the control only draws them and takes the user's selection.
class CCookieListView : public wxListCtrl
{
public:
    CCookieListView(wxWindow* pParent, wxWindowID nId, const wxPoint& pos, const wxSize& size,
                    CCookieListModel& model);

    // After the model changed: shows its rows, selection and focus.
    void ShowModel();
    // Takes the selection and focus the user made into the model; true when
    // they differ from the model's. Cheap when the user did nothing.
    bool TakeUserSelection();
    // Called whenever the user may have changed the selection.
    void SetUserSelectionHandler(std::function<void()> fnHandler)
    {
        m_fnUserSelection = std::move(fnHandler);
    }

protected:
    wxString OnGetItemText(long nItem, long nColumn) const override;
    int OnGetItemImage(long nItem) const override;

private:
    void OnSelectionEvent(wxListEvent& event);
    void MarkUserSelection();

    CCookieListModel& m_model;
    bool m_bShowingModel = false;
    bool m_bSelectionPending = false;
    std::function<void()> m_fnUserSelection;
};
