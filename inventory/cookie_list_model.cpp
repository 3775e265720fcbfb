#include "inventory/cookie_list_model.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>

namespace
{
bool TextLess(const CCookieRow& a, const CCookieRow& b)
{
    return a.strText[COL_COOKIE].GetText() < b.strText[COL_COOKIE].GetText();
}

// A row's Cookie text for sorting: its first eight bytes as one number, in the
// same order as the bytes, decide most comparisons without reaching the text.
struct CTextKey
{
    std::uint64_t nPrefix;
    const std::string* pText;
    size_t nIndex;
};

std::uint64_t TextPrefix(const std::string& strText)
{
    std::uint64_t nPrefix = 0;
    for (size_t i = 0; i < sizeof nPrefix; ++i)
    {
        const unsigned char c = i < strText.size() ? static_cast<unsigned char>(strText[i]) : 0;
        nPrefix = nPrefix << 8 | c;
    }
    return nPrefix;
}

// The indexes of rows in ascending order of Cookie text, equal texts in their
// order in rows.
std::vector<size_t> OrderByText(const std::vector<CCookieRow>& rows)
{
    std::vector<CTextKey> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const std::string& strText = rows[i].strText[COL_COOKIE].GetText();
        keys[i] = {TextPrefix(strText), &strText, i};
    }
    // The index breaks ties, so an unstable sort gives the stable order.
    std::sort(keys.begin(), keys.end(),
              [](const CTextKey& a, const CTextKey& b)
              {
                  if (a.nPrefix != b.nPrefix)
                      return a.nPrefix < b.nPrefix;
                  const int nCompare = a.pText->compare(*b.pText);
                  return nCompare != 0 ? nCompare < 0 : a.nIndex < b.nIndex;
              });
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        order[i] = keys[i].nIndex;
    return order;
}

// Rearranges rows so that position i holds the row that was at order[i],
// order being a permutation of the positions. Each row moves once, following
// the permutation's cycles, with no second array of rows.
void MoveIntoOrder(std::vector<CCookieRow>& rows, std::vector<size_t> order)
{
    for (size_t nStart = 0; nStart < order.size(); ++nStart)
    {
        if (order[nStart] == nStart)
            continue;
        CCookieRow held = std::move(rows[nStart]);
        size_t nTo = nStart;
        while (order[nTo] != nStart)
        {
            const size_t nFrom = order[nTo];
            rows[nTo] = std::move(rows[nFrom]);
            order[nTo] = nTo; // placed
            nTo = nFrom;
        }
        rows[nTo] = std::move(held);
        order[nTo] = nTo;
    }
}

// After this many heads in a row from one side, a merge looks ahead for the
// end of that side's winning stretch instead of comparing head by head.
constexpr int kMinGallop = 7;

// How many positions from nFirst on, before nEnd, pass test, where the passing
// ones come first: probes 1, 2, 4... positions apart, then halves the last gap.
// Only positions in [nFirst, nEnd) are asked about, whatever test answers.
template <typename Test> size_t CountLeading(size_t nFirst, size_t nEnd, Test test)
{
    size_t nPass = 0;             // the offsets below pass
    size_t nFail = nEnd - nFirst; // this offset fails, or is the end
    for (size_t nStep = 1;; nStep *= 2)
    {
        const size_t nProbe = nPass + nStep - 1;
        if (nProbe >= nFail)
            break;
        if (!test(nFirst + nProbe))
        {
            nFail = nProbe;
            break;
        }
        nPass = nProbe + 1;
    }
    while (nPass < nFail)
    {
        const size_t nMid = nPass + (nFail - nPass) / 2;
        if (test(nFirst + nMid))
            nPass = nMid + 1;
        else
            nFail = nMid;
    }
    return nPass;
}

// A bottom-up merge sort over an index permutation. Taking the left head
// unless the right one is strictly less keeps equal rows in order. Every
// position asked about lies inside the two runs being merged, and each step
// takes at least one element, so no callback result can make it leave its
// ranges or loop. Runs whose elements come out in long stretches, as rows do
// when sorted by a column of few distinct texts, are merged by galloping.
template <typename Less> void StableMergeSort(std::vector<size_t>& order, Less less)
{
    const size_t n = order.size();
    std::vector<size_t> merged(n);
    for (size_t nWidth = 1; nWidth < n; nWidth *= 2)
    {
        for (size_t nLo = 0; nLo < n; nLo += 2 * nWidth)
        {
            const size_t nMid = std::min(nLo + nWidth, n);
            const size_t nHi = std::min(nLo + 2 * nWidth, n);
            size_t i = nLo, j = nMid, k = nLo;
            if (nMid < nHi && less(order[nMid], order[nMid - 1]))
            {
                int nLeftWins = 0, nRightWins = 0;
                while (i < nMid && j < nHi)
                {
                    if (less(order[j], order[i]))
                    {
                        merged[k++] = order[j++];
                        nLeftWins = 0;
                        if (++nRightWins < kMinGallop)
                            continue;
                        const size_t nHead = order[i];
                        const size_t nTake = CountLeading(
                            j, nHi, [&](size_t nPos) { return less(order[nPos], nHead); });
                        k = static_cast<size_t>(std::copy(order.begin() + j,
                                                          order.begin() + j + nTake,
                                                          merged.begin() + k) -
                                                merged.begin());
                        j += nTake;
                    }
                    else
                    {
                        merged[k++] = order[i++];
                        nRightWins = 0;
                        if (++nLeftWins < kMinGallop)
                            continue;
                        const size_t nHead = order[j];
                        const size_t nTake = CountLeading(
                            i, nMid, [&](size_t nPos) { return !less(nHead, order[nPos]); });
                        k = static_cast<size_t>(std::copy(order.begin() + i,
                                                          order.begin() + i + nTake,
                                                          merged.begin() + k) -
                                                merged.begin());
                        i += nTake;
                    }
                    nLeftWins = nRightWins = 0;
                }
            }
            while (i < nMid)
                merged[k++] = order[i++];
            while (j < nHi)
                merged[k++] = order[j++];
        }
        order.swap(merged);
    }
}
} // namespace

std::ostream& operator<<(std::ostream& out, const CCellText& text)
{
    return out << text.GetText();
}

int CCookieListModel::UpperBoundByText(const std::string& strText) const
{
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), strText,
                                     [](const std::string& strKey, const CCookieRow& row)
                                     { return strKey < row.strText[COL_COOKIE].GetText(); });
    return static_cast<int>(it - m_rows.begin());
}

int CCookieListModel::InsertItem(const std::string& strText, int nImage, CCookie* pData)
{
    const int nPos = UpperBoundByText(strText);
    CCookieRow row;
    row.strText[COL_COOKIE] = strText;
    row.nImage = nImage;
    row.pData = pData;
    m_rows.insert(m_rows.begin() + nPos, std::move(row));
    if (m_nFocused >= nPos)
        ++m_nFocused;
    return nPos;
}

void CCookieListModel::InsertItems(std::vector<CCookieRow> rows)
{
    for (CCookieRow& row : rows)
        row.bSelected = row.bFocused = false;
    // Binary-search insertion into rows that are not in text order (after a sort
    // by another column) has no shortcut that gives the same result.
    if (!std::is_sorted(m_rows.begin(), m_rows.end(), TextLess))
    {
        for (CCookieRow& row : rows)
        {
            const int nPos = InsertItem(row.strText[COL_COOKIE], row.nImage, row.pData);
            m_rows[static_cast<size_t>(nPos)].strText[COL_STATE] =
                std::move(row.strText[COL_STATE]);
            m_rows[static_cast<size_t>(nPos)].strText[COL_BROWSER] =
                std::move(row.strText[COL_BROWSER]);
        }
        return;
    }
    // Inserting one by one after equal texts is a stable sort of the new rows
    // merged behind the equal existing ones. The rows are sorted by index and
    // moved once.
    std::vector<size_t> order = OrderByText(rows);
    if (m_rows.empty()) // the refresh's case: nothing to merge with
    {
        // Taking the rows in order, each written once where it goes, is
        // cheaper than moving them round in place.
        m_rows.clear();
        m_rows.reserve(rows.size());
        for (size_t nNew : order)
            m_rows.push_back(std::move(rows[nNew]));
        m_nFocused = -1;
        return;
    }
    std::vector<CCookieRow> merged;
    merged.reserve(m_rows.size() + rows.size());
    auto itOld = m_rows.begin();
    for (size_t nNew : order)
    {
        while (itOld != m_rows.end() && !TextLess(rows[nNew], *itOld))
            merged.push_back(std::move(*itOld++));
        merged.push_back(std::move(rows[nNew]));
    }
    std::move(itOld, m_rows.end(), std::back_inserter(merged));
    m_rows.swap(merged);
    m_nFocused = -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].bFocused)
            m_nFocused = static_cast<int>(i);
}

std::string CCookieListModel::GetShownText(int nItem, int nColumn) const
{
    return ShortenShownText(GetRow(nItem).strText[nColumn]);
}

std::string ShortenShownText(const std::string& strText)
{
    if (strText.size() <= SHOWN_TEXT_LIMIT)
        return strText;
    size_t nLength = SHOWN_TEXT_LIMIT;
    // Back to the start of a UTF-8 character (one has at most three
    // continuation bytes); other 8-bit text is cut where it is.
    for (int i = 0; i < 3 && (static_cast<unsigned char>(strText[nLength]) & 0xC0) == 0x80; ++i)
        --nLength;
    if ((static_cast<unsigned char>(strText[nLength]) & 0xC0) == 0x80)
        nLength = SHOWN_TEXT_LIMIT;
    return strText.substr(0, nLength) + "...";
}

void CCookieListModel::SetItemText(int nItem, int nSubItem, const std::string& strText)
{
    if (nItem < 0 || nItem >= GetItemCount() || nSubItem < 0 || nSubItem >= COOKIE_COLUMNS)
        return;
    m_rows[static_cast<size_t>(nItem)].strText[nSubItem] = strText;
}

void CCookieListModel::SetItemImage(int nItem, int nImage)
{
    if (nItem >= 0 && nItem < GetItemCount())
        m_rows[static_cast<size_t>(nItem)].nImage = nImage;
}

bool CCookieListModel::DeleteItem(int nItem)
{
    if (nItem < 0 || nItem >= GetItemCount())
        return false;
    if (m_rows[static_cast<size_t>(nItem)].bSelected)
        --m_nSelected;
    if (m_nFocused == nItem)
        m_nFocused = -1;
    else if (m_nFocused > nItem)
        --m_nFocused;
    m_rows.erase(m_rows.begin() + nItem);
    return true;
}

void CCookieListModel::DeleteAllItems()
{
    m_rows.clear();
    m_nSelected = 0;
    m_nFocused = -1;
}

void CCookieListModel::DeleteItems(const std::vector<bool>& remove)
{
    size_t nKept = 0;
    m_nSelected = 0;
    m_nFocused = -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
    {
        if (i < remove.size() && remove[i])
            continue;
        if (nKept != i)
            m_rows[nKept] = std::move(m_rows[i]);
        if (m_rows[nKept].bSelected)
            ++m_nSelected;
        if (m_rows[nKept].bFocused)
            m_nFocused = static_cast<int>(nKept);
        ++nKept;
    }
    m_rows.resize(nKept);
}

void CCookieListModel::SortItems(PFNCOOKIECOMPARE pfnCompare, std::intptr_t lParamSort)
{
    if (!pfnCompare || m_rows.size() < 2)
        return;
    std::vector<std::intptr_t> data(m_rows.size());
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = reinterpret_cast<std::intptr_t>(m_rows[i].pData);
    // a < b only when the callback puts a first in both argument orders; a
    // callback that never reports equality then keeps equal rows as they are.
    // The merge asks whether a later row goes before an earlier one, which is
    // rarely so: asking "b first?" first settles most pairs with one call.
    const auto less = [&](size_t a, size_t b)
    {
        return pfnCompare(data[b], data[a], lParamSort) > 0 &&
               pfnCompare(data[a], data[b], lParamSort) < 0;
    };
    std::vector<size_t> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    StableMergeSort(order, less);
    MoveRowsIntoOrder(std::move(order));
}

void CCookieListModel::SortItemsByKey(const std::vector<int>& keys)
{
    if (keys.size() != m_rows.size() || std::is_sorted(keys.begin(), keys.end()))
        return;
    std::vector<size_t> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    MoveRowsIntoOrder(std::move(order));
}

// Keeps the focus on its row; the selection moves with the rows.
void CCookieListModel::MoveRowsIntoOrder(std::vector<size_t> order)
{
    const int nFocused = m_nFocused;
    m_nFocused = -1;
    for (size_t i = 0; i < order.size(); ++i)
        if (static_cast<int>(order[i]) == nFocused)
            m_nFocused = static_cast<int>(i);
    MoveIntoOrder(m_rows, std::move(order));
}

void CCookieListModel::SetItemSelected(int nItem, bool bSelected)
{
    if (nItem < 0 || nItem >= GetItemCount())
        return;
    CCookieRow& row = m_rows[static_cast<size_t>(nItem)];
    if (row.bSelected != bSelected)
        m_nSelected += bSelected ? 1 : -1;
    row.bSelected = bSelected;
}

void CCookieListModel::SetFocusedItem(int nItem)
{
    if (m_nFocused >= 0)
        m_rows[static_cast<size_t>(m_nFocused)].bFocused = false;
    m_nFocused = -1;
    if (nItem >= 0 && nItem < GetItemCount())
    {
        m_rows[static_cast<size_t>(nItem)].bFocused = true;
        m_nFocused = nItem;
    }
}

int CCookieListModel::GetFocusedItem() const
{
    return m_nFocused;
}

void CCookieListModel::ClearSelection()
{
    for (CCookieRow& row : m_rows)
        row.bSelected = false;
    m_nSelected = 0;
}

int CCookieListModel::GetSelectedCount() const
{
    return m_nSelected;
}

int CCookieListModel::GetNextSelected(int nAfter) const
{
    if (m_nSelected == 0 || nAfter >= GetItemCount() - 1)
        return -1;
    for (int i = std::max(nAfter + 1, 0); i < GetItemCount(); ++i)
        if (m_rows[static_cast<size_t>(i)].bSelected)
            return i;
    return -1;
}

bool CCookieListModel::SelectionHasImage(int nImage) const
{
    int nRow = GetNextSelected(-1);
    if (nRow == -1)
        return false;
    const int nFirstImage = GetItemImage(nRow);
    if (nImage != -1 && nFirstImage != nImage)
        return false;
    while ((nRow = GetNextSelected(nRow)) != -1)
        if (GetItemImage(nRow) != nFirstImage)
            return false;
    return true;
}
