// The cookie list model against a plain reference model under long random
// sequences of insertions, sorts, selection, focus and deletions.
#include "inventory/cookie.h"
#include "inventory/cookie_inventory.h"
#include "inventory/cookie_list_model.h"
#include "inventory/stores/ie_folder/ie_cookie.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "support/inventory_test_access.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{
struct CRefRow
{
    std::string strText;
    int nImage = 0;
    CCookie* pData = nullptr;
    bool bSelected = false;
    bool bFocused = false;
};

int AlwaysFirst(std::intptr_t, std::intptr_t, std::intptr_t)
{
    return -1;
}

// The key a column sorts by, taken from the record the way the list shows it.
std::string SortKey(const CCookie* pCookie, int nColumn)
{
    switch (nColumn)
    {
    case COL_COOKIE:
        return pCookie->m_strName;
    case COL_STATE:
        return pCookie->GetState();
    default:
        return pCookie->GetBrowser();
    }
}

class CListModelProperty
{
public:
    explicit CListModelProperty(unsigned nSeed) : m_random(nSeed)
    {
        const char* const names[] = {
            "a.example.com", "b.example.com", "b.example.com", "c.example.org", "",
            "A.example.com", "c.example.org "};
        for (int i = 0; i < 60; ++i)
        {
            const std::string strName = names[static_cast<size_t>(i) % std::size(names)];
            CCookie* pCookie = i % 3 == 0 ? static_cast<CCookie*>(new CNSCookie(strName, "f", "l"))
                                          : static_cast<CCookie*>(new CIECookie(strName, "p"));
            pCookie->m_bProtected = (i / 2) % 2;
            m_records.emplace_back(pCookie);
            m_unlisted.push_back(pCookie);
        }
    }

    void Step()
    {
        switch (Pick(11))
        {
        case 0:
        case 1:
            InsertOne();
            break;
        case 2:
            InsertMany();
            break;
        case 3:
            Sort();
            break;
        case 4:
        case 5:
            Select();
            break;
        case 6:
            Focus();
            break;
        case 7:
            DeleteOne();
            break;
        case 8:
            DeleteMany();
            break;
        case 9:
            SetImage();
            break;
        default:
            if (Pick(4) == 0)
            {
                m_model.ClearSelection();
                for (CRefRow& row : m_ref)
                    row.bSelected = false;
            }
            break;
        }
    }

    ::testing::AssertionResult Agrees() const
    {
        if (m_model.GetItemCount() != static_cast<int>(m_ref.size()))
            return ::testing::AssertionFailure()
                   << "row count " << m_model.GetItemCount() << ", expected " << m_ref.size();
        int nFocused = -1, nSelected = 0;
        std::set<const CCookie*> listed;
        for (size_t i = 0; i < m_ref.size(); ++i)
        {
            const CCookieRow& row = m_model.GetRow(static_cast<int>(i));
            const CRefRow& ref = m_ref[i];
            if (row.strText[COL_COOKIE] != ref.strText || row.pData != ref.pData ||
                row.nImage != ref.nImage || row.bSelected != ref.bSelected ||
                row.bFocused != ref.bFocused)
                return ::testing::AssertionFailure()
                       << "row " << i << " differs: text \"" << row.strText[COL_COOKIE]
                       << "\" expected \"" << ref.strText << "\", selected " << row.bSelected
                       << " expected " << ref.bSelected << ", focused " << row.bFocused
                       << " expected " << ref.bFocused;
            if (!listed.insert(row.pData).second)
                return ::testing::AssertionFailure() << "a record is listed twice, row " << i;
            if (ref.bFocused)
                nFocused = static_cast<int>(i);
            nSelected += ref.bSelected ? 1 : 0;
        }
        if (m_model.GetFocusedItem() != nFocused)
            return ::testing::AssertionFailure() << "focus " << m_model.GetFocusedItem();
        if (m_model.GetSelectedCount() != nSelected)
            return ::testing::AssertionFailure() << "selected count " << m_model.GetSelectedCount();
        for (int nAfter = -1; nAfter <= static_cast<int>(m_ref.size()); ++nAfter)
        {
            int nNext = -1;
            for (size_t i = static_cast<size_t>(nAfter + 1); i < m_ref.size() && nNext == -1; ++i)
                if (m_ref[i].bSelected)
                    nNext = static_cast<int>(i);
            if (m_model.GetNextSelected(nAfter) != nNext)
                return ::testing::AssertionFailure() << "GetNextSelected(" << nAfter << ")";
        }
        for (int nImage = -1; nImage <= 1; ++nImage)
        {
            int nFirstImage = -2;
            bool bHas = nSelected > 0;
            for (const CRefRow& ref : m_ref)
            {
                if (!ref.bSelected)
                    continue;
                if (nFirstImage == -2)
                    nFirstImage = ref.nImage;
                const int nWanted = nImage == -1 ? nFirstImage : nImage;
                bHas = bHas && ref.nImage == nWanted;
            }
            if (m_model.SelectionHasImage(nImage) != bHas)
                return ::testing::AssertionFailure() << "SelectionHasImage(" << nImage << ")";
        }
        return ::testing::AssertionSuccess();
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    int Count() const { return static_cast<int>(m_ref.size()); }

    bool TextSorted() const
    {
        for (size_t i = 1; i < m_ref.size(); ++i)
            if (m_ref[i - 1].strText > m_ref[i].strText)
                return false;
        return true;
    }

    CCookie* TakeUnlisted()
    {
        if (m_unlisted.empty())
            return nullptr;
        const size_t i = static_cast<size_t>(Pick(static_cast<int>(m_unlisted.size())));
        CCookie* pCookie = m_unlisted[i];
        m_unlisted.erase(m_unlisted.begin() + static_cast<std::ptrdiff_t>(i));
        return pCookie;
    }

    // Where a row goes: after the last row whose text is not greater. Rows in
    // another order (after a sort by State or Browser) take the model's place,
    // which must still hold the row.
    void RefInsert(CCookie* pCookie, int nModelPos)
    {
        int nPos = nModelPos;
        if (TextSorted())
        {
            nPos = 0;
            while (nPos < Count() && m_ref[static_cast<size_t>(nPos)].strText <= pCookie->m_strName)
                ++nPos;
        }
        CRefRow row;
        row.strText = pCookie->m_strName;
        row.nImage = pCookie->m_bProtected;
        row.pData = pCookie;
        m_ref.insert(m_ref.begin() + nPos, row);
    }

    void InsertOne()
    {
        if (CCookie* pCookie = TakeUnlisted())
            RefInsert(pCookie,
                      m_model.InsertItem(pCookie->m_strName, pCookie->m_bProtected, pCookie));
    }

    // Many rows at once land where inserting them one by one puts them.
    void InsertMany()
    {
        std::vector<CCookieRow> rows;
        CCookieListModel oneByOne = m_model;
        for (int n = Pick(8); n > 0; --n)
        {
            CCookie* pCookie = TakeUnlisted();
            if (!pCookie)
                break;
            CCookieRow row;
            row.strText[COL_COOKIE] = pCookie->m_strName;
            row.nImage = pCookie->m_bProtected;
            row.pData = pCookie;
            row.bSelected = Pick(2) == 0; // ignored: new rows come unselected
            rows.push_back(row);
            RefInsert(pCookie,
                      oneByOne.InsertItem(pCookie->m_strName, pCookie->m_bProtected, pCookie));
        }
        m_model.InsertItems(rows);
    }

    void Sort()
    {
        const int nColumn = Pick(4);
        if (nColumn == 3)
        {
            m_model.SortItems(AlwaysFirst, 0); // never equal both ways: nothing moves
            return;
        }
        m_model.SortItems(CInventoryTestAccess::CompareCookies, nColumn);
        std::stable_sort(m_ref.begin(), m_ref.end(),
                         [nColumn](const CRefRow& a, const CRefRow& b)
                         { return SortKey(a.pData, nColumn) < SortKey(b.pData, nColumn); });
    }

    void Select()
    {
        const int nRow = Pick(Count() + 2) - 1; // -1 and one past the end change nothing
        const bool bSelected = Pick(3) != 0;
        m_model.SetItemSelected(nRow, bSelected);
        if (nRow >= 0 && nRow < Count())
            m_ref[static_cast<size_t>(nRow)].bSelected = bSelected;
    }

    void Focus()
    {
        const int nRow = Pick(Count() + 2) - 1;
        m_model.SetFocusedItem(nRow);
        for (int i = 0; i < Count(); ++i)
            m_ref[static_cast<size_t>(i)].bFocused = i == nRow;
    }

    void DeleteOne()
    {
        const int nRow = Pick(Count() + 2) - 1;
        const bool bInRange = nRow >= 0 && nRow < Count();
        EXPECT_EQ(m_model.DeleteItem(nRow), bInRange);
        if (!bInRange)
            return;
        m_unlisted.push_back(m_ref[static_cast<size_t>(nRow)].pData);
        m_ref.erase(m_ref.begin() + nRow);
    }

    void DeleteMany()
    {
        std::vector<bool> remove(static_cast<size_t>(Count()));
        for (size_t i = 0; i < remove.size(); ++i)
            remove[i] = Pick(4) == 0;
        m_model.DeleteItems(remove);
        std::vector<CRefRow> kept;
        for (size_t i = 0; i < m_ref.size(); ++i)
        {
            if (remove[i])
                m_unlisted.push_back(m_ref[i].pData);
            else
                kept.push_back(m_ref[i]);
        }
        m_ref.swap(kept);
    }

    void SetImage()
    {
        if (Count() == 0)
            return;
        const int nRow = Pick(Count());
        const int nImage = Pick(2);
        m_model.SetItemImage(nRow, nImage);
        m_ref[static_cast<size_t>(nRow)].nImage = nImage;
    }

    std::mt19937 m_random;
    std::vector<std::unique_ptr<CCookie>> m_records;
    std::vector<CCookie*> m_unlisted;
    CCookieListModel m_model;
    std::vector<CRefRow> m_ref;
};
} // namespace

TEST(CookieListModelProperty, RandomOperationsAgreeWithAPlainModel)
{
    for (unsigned nSeed : {1u, 2u, 3u, 20240611u})
    {
        CListModelProperty property(nSeed);
        for (int nStep = 0; nStep < 3000; ++nStep)
        {
            property.Step();
            ASSERT_TRUE(property.Agrees()) << "seed " << nSeed << ", step " << nStep;
        }
    }
}
