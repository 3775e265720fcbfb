#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CCookie;

// The shape of the list's sort callback: the item data of two rows, then the
// sort parameter. A negative result puts the first row first.
using PFNCOOKIECOMPARE = int (*)(std::intptr_t, std::intptr_t, std::intptr_t);

// Column indexes of the cookie list.
enum
{
    COL_COOKIE = 0,
    COL_STATE = 1,
    COL_BROWSER = 2,
    COOKIE_COLUMNS = 3,
};

// The text of one cell. A row may take any text; the texts that many rows
// show alike (a browser's name) can instead be shared from one string that
// outlives the list, which saves a copy per row.
class CCellText
{
public:
    CCellText() = default;
    CCellText(std::string strText) : m_strOwn(std::move(strText)) {}
    CCellText(const char* pszText) : m_strOwn(pszText) {}
    // strText must outlive every row that shows it.
    static CCellText Shared(const std::string& strText)
    {
        CCellText text;
        text.m_pShared = &strText;
        return text;
    }

    const std::string& GetText() const { return m_pShared ? *m_pShared : m_strOwn; }
    operator const std::string&() const { return GetText(); }

private:
    const std::string* m_pShared = nullptr;
    std::string m_strOwn;
};

inline bool operator==(const CCellText& text, std::string_view strOther)
{
    return std::string_view(text.GetText()) == strOther;
}
inline bool operator!=(const CCellText& text, std::string_view strOther)
{
    return !(text == strOther);
}
std::ostream& operator<<(std::ostream& out, const CCellText& text);

// The longest text a cell shows; a longer one shows its first bytes and "...".
// Drawing a text takes time in proportion to its length, and a cookie file may
// hold a name of many megabytes.
constexpr size_t SHOWN_TEXT_LIMIT = 1024;
// The text as shown: whole, or its first SHOWN_TEXT_LIMIT bytes (not ending
// inside a UTF-8 character) and "...".
std::string ShortenShownText(const std::string& strText);

// One row of the cookie list. It shows a record and owns nothing.
struct CCookieRow
{
    CCellText strText[COOKIE_COLUMNS];
    int nImage = 0;           // 0 unprotected, 1 protected
    CCookie* pData = nullptr; // the record, owned by the inventory
    bool bSelected = false;
    bool bFocused = false;
};

// The rows of the cookie list, in display order, with their selection and
// focus. The inventory works on it and tests check it without a display; the
// window's list control only shows it.
class CCookieListModel
{
public:
    int GetItemCount() const { return static_cast<int>(m_rows.size()); }
    const CCookieRow& GetRow(int nItem) const { return m_rows[static_cast<size_t>(nItem)]; }
    // The text a cell shows: its whole text, or at most SHOWN_TEXT_LIMIT bytes of
    // it, not ending inside a UTF-8 character, and "...". The row keeps the
    // whole text.
    std::string GetShownText(int nItem, int nColumn) const;

    // Places a row by its Cookie text in ascending byte order, after any rows of
    // equal text, whatever position might have been asked for. Returns its index.
    int InsertItem(const std::string& strText, int nImage, CCookie* pData);
    // Inserts many rows with the same result as inserting them one by one, in
    // O(n log n) rather than one shift of the rows per insertion.
    void InsertItems(std::vector<CCookieRow> rows);

    void SetItemText(int nItem, int nSubItem, const std::string& strText);
    void SetItemImage(int nItem, int nImage);
    int GetItemImage(int nItem) const { return GetRow(nItem).nImage; }
    CCookie* GetItemData(int nItem) const { return GetRow(nItem).pData; }

    bool DeleteItem(int nItem);
    void DeleteAllItems();
    // Removes row i wherever remove[i] is set, keeping the others in order, in
    // one pass. remove holds one flag per row.
    void DeleteItems(const std::vector<bool>& remove);

    // Sorts with a callback that may never report equality: rows whose keys the
    // callback orders both ways keep their order, and every row keeps its
    // selection and focus. Safe for any callback.
    void SortItems(PFNCOOKIECOMPARE pfnCompare, std::intptr_t lParamSort);
    // The same for a callback that orders rows by a number of each row: row i's
    // number is keys[i], and a smaller number goes first.
    void SortItemsByKey(const std::vector<int>& keys);

    // Selection and focus. At most one row has the focus.
    void SetItemSelected(int nItem, bool bSelected);
    void SetFocusedItem(int nItem); // -1 removes the focus
    int GetFocusedItem() const;
    void ClearSelection();
    int GetSelectedCount() const;
    // The next selected row after nAfter (-1 to start), or -1 when there is none.
    int GetNextSelected(int nAfter) const;
    // True when at least one row is selected and every selected row has image
    // nImage; with -1, when every selected row has the image of the first one.
    bool SelectionHasImage(int nImage) const;

private:
    void MoveRowsIntoOrder(std::vector<size_t> order);
    int UpperBoundByText(const std::string& strText) const;

    std::vector<CCookieRow> m_rows;
    int m_nSelected = 0; // rows with bSelected set
    int m_nFocused = -1; // the row with bFocused set, or -1
};
