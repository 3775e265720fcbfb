#include "ui/cookie_list_view.h"

#include "ui/display_text.h"

#include <vector>

CCookieListView::CCookieListView(wxWindow* pParent, wxWindowID nId, const wxPoint& pos,
                                 const wxSize& size, CCookieListModel& model)
    : wxListCtrl(pParent, nId, pos, size,
                 wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_SUNKEN | wxWANTS_CHARS),
      m_model(model)
{
    Bind(wxEVT_LIST_ITEM_SELECTED, &CCookieListView::OnSelectionEvent, this);
    Bind(wxEVT_LIST_ITEM_DESELECTED, &CCookieListView::OnSelectionEvent, this);
    Bind(wxEVT_LIST_ITEM_FOCUSED, &CCookieListView::OnSelectionEvent, this);
    // A click on a row of a multiple selection reselects that row alone when the
    // button goes up, and a virtual list reports such changes of many rows with
    // no event at all, so the end of every click and key press counts too.
    auto onInputEnd = [this](wxEvent& event)
    {
        event.Skip();
        MarkUserSelection();
    };
    for (wxWindow* pChild : GetChildren())
    {
        pChild->Bind(wxEVT_LEFT_UP, onInputEnd);
        pChild->Bind(wxEVT_RIGHT_UP, onInputEnd);
        pChild->Bind(wxEVT_KEY_UP, onInputEnd);
    }
}

wxString CCookieListView::OnGetItemText(long nItem, long nColumn) const
{
    if (nItem < 0 || nItem >= m_model.GetItemCount() || nColumn < 0 || nColumn >= COOKIE_COLUMNS)
        return wxString();
    return ToDisplayText(m_model.GetShownText(static_cast<int>(nItem), static_cast<int>(nColumn)));
}

int CCookieListView::OnGetItemImage(long nItem) const
{
    if (nItem < 0 || nItem >= m_model.GetItemCount())
        return -1;
    return m_model.GetItemImage(static_cast<int>(nItem));
}

void CCookieListView::ShowModel()
{
    m_bShowingModel = true;
    const int nCount = m_model.GetItemCount();
    if (GetItemCount() != nCount)
        SetItemCount(nCount);
    // Item -1 clears every row's selection in one step, not row by row.
    SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (int nItem = m_model.GetNextSelected(-1); nItem != -1;
         nItem = m_model.GetNextSelected(nItem))
        SetItemState(nItem, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    const int nFocused = m_model.GetFocusedItem();
    if (nFocused != -1)
        SetItemState(nFocused, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    Refresh();
    m_bShowingModel = false;
    m_bSelectionPending = false;
}

bool CCookieListView::TakeUserSelection()
{
    if (!m_bSelectionPending)
        return false;
    m_bSelectionPending = false;
    std::vector<int> selected;
    for (long nItem = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); nItem != -1;
         nItem = GetNextItem(nItem, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        selected.push_back(static_cast<int>(nItem));
    const int nFocused = static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED));

    bool bSame = nFocused == m_model.GetFocusedItem() &&
                 static_cast<int>(selected.size()) == m_model.GetSelectedCount();
    int nModelItem = -1;
    for (size_t i = 0; bSame && i < selected.size(); ++i)
    {
        nModelItem = m_model.GetNextSelected(nModelItem);
        bSame = nModelItem == selected[i];
    }
    if (bSame)
        return false;
    m_model.ClearSelection();
    for (int nItem : selected)
        m_model.SetItemSelected(nItem, true);
    m_model.SetFocusedItem(nFocused);
    return true;
}

void CCookieListView::OnSelectionEvent(wxListEvent& event)
{
    event.Skip();
    MarkUserSelection();
}

// A range selection changes many rows with one event or none, so the whole
// selection is taken at once when it is next needed.
void CCookieListView::MarkUserSelection()
{
    if (m_bShowingModel)
        return;
    m_bSelectionPending = true;
    if (m_fnUserSelection)
        m_fnUserSelection();
}
