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

namespace
{
std::vector<std::string> Texts(const CCookieListModel& list, int nColumn = COL_COOKIE)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetRow(i).strText[nColumn]);
    return texts;
}

// Records whose names and marks the tests choose; the rows point at them.
struct CRecords
{
    CCookie* Add(const std::string& strName, bool bProtected = false)
    {
        records.push_back(std::make_unique<CNSCookie>(strName, "f", strName + "\tx"));
        records.back()->m_bProtected = bProtected ? 1 : 0;
        return records.back().get();
    }
    std::vector<std::unique_ptr<CCookie>> records;
};

CCookieRow MakeRow(CCookie* pCookie)
{
    CCookieRow row;
    row.strText[COL_COOKIE] = pCookie->GetName();
    row.strText[COL_STATE] = pCookie->GetState();
    row.strText[COL_BROWSER] = pCookie->GetBrowser();
    row.nImage = pCookie->m_bProtected;
    row.pData = pCookie;
    return row;
}

int RandomCompare(std::intptr_t, std::intptr_t, std::intptr_t)
{
    static std::mt19937 s_random(7);
    return static_cast<int>(s_random() % 3) - 1;
}
} // namespace

TEST(CookieListModel, InsertItemPlacesByByteOrderAfterEqualTexts)
{
    CRecords records;
    CCookieListModel list;
    CCookie* pFirstB = records.Add("b");
    list.InsertItem("b", 0, pFirstB);
    list.InsertItem("a", 0, records.Add("a"));
    list.InsertItem("\xc3\xa9", 0, records.Add("\xc3\xa9")); // bytes above ASCII sort last
    list.InsertItem("B", 0, records.Add("B"));
    CCookie* pSecondB = records.Add("b");
    EXPECT_EQ(list.InsertItem("b", 1, pSecondB), 3);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"B", "a", "b", "b", "\xc3\xa9"}));
    EXPECT_EQ(list.GetItemData(2), pFirstB);
    EXPECT_EQ(list.GetItemData(3), pSecondB);
    EXPECT_EQ(list.GetItemImage(3), 1);
}

TEST(CookieListModel, ALongTextShowsABoundedPrefixWhileTheRowKeepsItAll)
{
    CRecords records;
    CCookieListModel list;
    const std::string strShort(SHOWN_TEXT_LIMIT, 'a');
    // A two-byte character across the limit is left out whole.
    const std::string strLong = std::string(SHOWN_TEXT_LIMIT - 1, 'b') + "\xc3\xa9" + "tail";
    const std::string strHuge(8 << 20, 'c');
    list.InsertItem(strShort, 0, records.Add(strShort));
    list.InsertItem(strLong, 0, records.Add(strLong));
    list.InsertItem(strHuge, 0, records.Add(strHuge));
    EXPECT_EQ(list.GetShownText(0, COL_COOKIE), strShort);
    EXPECT_EQ(list.GetShownText(1, COL_COOKIE), std::string(SHOWN_TEXT_LIMIT - 1, 'b') + "...");
    EXPECT_EQ(list.GetShownText(2, COL_COOKIE), std::string(SHOWN_TEXT_LIMIT, 'c') + "...");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{strShort, strLong, strHuge}));
}

TEST(CookieListModel, InsertItemsMatchesInsertingOneByOne)
{
    CRecords records;
    std::mt19937 random(1);
    std::vector<CCookie*> cookies;
    for (int i = 0; i < 500; ++i)
        cookies.push_back(
            records.Add(std::string(1, static_cast<char>('a' + random() % 6)), random() % 2 == 0));

    for (bool bSortedByStateFirst : {false, true})
    {
        CCookieListModel oneByOne, batch;
        // Existing rows, possibly no longer in text order after a sort by State.
        for (int i = 0; i < 50; ++i)
        {
            oneByOne.InsertItem(cookies[i]->GetName(), 0, cookies[i]);
            batch.InsertItem(cookies[i]->GetName(), 0, cookies[i]);
        }
        if (bSortedByStateFirst)
        {
            oneByOne.SortItems(CInventoryTestAccess::CompareCookies, COL_STATE);
            batch.SortItems(CInventoryTestAccess::CompareCookies, COL_STATE);
        }
        std::vector<CCookieRow> rows;
        for (size_t i = 50; i < cookies.size(); ++i)
        {
            oneByOne.InsertItem(cookies[i]->GetName(), cookies[i]->m_bProtected, cookies[i]);
            rows.push_back(MakeRow(cookies[i]));
        }
        batch.InsertItems(rows);
        ASSERT_EQ(batch.GetItemCount(), oneByOne.GetItemCount());
        for (int i = 0; i < batch.GetItemCount(); ++i)
        {
            EXPECT_EQ(batch.GetItemData(i), oneByOne.GetItemData(i)) << i;
            EXPECT_EQ(batch.GetItemImage(i), oneByOne.GetItemImage(i)) << i;
        }
    }
}

TEST(CookieListModel, SortKeepsEqualRowsInOrderWithTheirSelectionAndFocus)
{
    CRecords records;
    CCookieListModel list;
    // Many equal keys: a sort that trusted "less" both ways would run off the rows.
    std::vector<CCookie*> equal;
    for (int i = 0; i < 2000; ++i)
        equal.push_back(records.Add("same", i % 3 == 0));
    std::vector<CCookieRow> rows;
    for (CCookie* pCookie : equal)
        rows.push_back(MakeRow(pCookie));
    list.InsertItems(rows);
    list.SetItemSelected(10, true);
    list.SetItemSelected(1999, true);
    list.SetFocusedItem(1999);

    list.SortItems(CInventoryTestAccess::CompareCookies, COL_COOKIE);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(list.GetItemData(i), equal[static_cast<size_t>(i)]);

    // By State: unprotected rows (empty text) first, each group in its old order.
    CCookie* pSelectedProtected = list.GetItemData(1999);
    list.SortItems(CInventoryTestAccess::CompareCookies, COL_STATE);
    int nPrevious = -1;
    for (int i = 0; i < 2000; ++i)
    {
        const bool bProtected = i >= 1333;
        ASSERT_EQ(list.GetItemData(i)->m_bProtected, bProtected ? 1 : 0) << i;
        const int nOld = static_cast<int>(
            std::find(equal.begin(), equal.end(), list.GetItemData(i)) - equal.begin());
        if (i != 1333)
        {
            ASSERT_GT(nOld, nPrevious) << i;
        }
        nPrevious = nOld;
    }
    EXPECT_EQ(list.GetSelectedCount(), 2);
    EXPECT_EQ(list.GetItemData(list.GetFocusedItem()), pSelectedProtected);
    EXPECT_TRUE(list.GetRow(list.GetFocusedItem()).bSelected);
    EXPECT_EQ(list.GetItemData(list.GetNextSelected(-1)), equal[10]);
}

TEST(CookieListModel, SortOrdersByColumnAndIgnoresAnUnknownColumn)
{
    CRecords records;
    CCookieListModel list;
    CCookie* pIE = new CIECookie("zeta", "p");
    records.records.emplace_back(pIE);
    list.InsertItem("zeta", 0, pIE);
    list.InsertItem("alpha", 1, records.Add("alpha", true));
    list.InsertItem("mid", 0, records.Add("mid"));

    list.SortItems(CInventoryTestAccess::CompareCookies, COL_BROWSER);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"zeta", "alpha", "mid"}));
    for (std::intptr_t nBad : {3, -1, 1000})
    {
        list.SortItems(CInventoryTestAccess::CompareCookies, nBad);
        EXPECT_EQ(Texts(list), (std::vector<std::string>{"zeta", "alpha", "mid"}));
    }
    list.SortItems(CInventoryTestAccess::CompareCookies, COL_COOKIE);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"alpha", "mid", "zeta"}));
}

TEST(CookieListModel, SortSurvivesAnInconsistentCallback)
{
    CRecords records;
    CCookieListModel list;
    for (int i = 0; i < 3000; ++i)
        list.InsertItem(std::to_string(i % 17), 0, records.Add(std::to_string(i)));
    list.SetFocusedItem(5);
    CCookie* pFocused = list.GetItemData(5);
    list.SortItems(RandomCompare, 0);
    ASSERT_EQ(list.GetItemCount(), 3000);
    std::set<CCookie*> seen;
    for (int i = 0; i < 3000; ++i)
        seen.insert(list.GetItemData(i));
    EXPECT_EQ(seen.size(), 3000u); // a permutation: no row lost or doubled
    EXPECT_EQ(list.GetItemData(list.GetFocusedItem()), pFocused);
}

TEST(CookieListModel, SelectionQueries)
{
    CRecords records;
    CCookieListModel list;
    for (const char* psz : {"a", "b", "c", "d"})
        list.InsertItem(psz, psz[0] == 'c' ? 1 : 0, records.Add(psz));
    EXPECT_EQ(list.GetNextSelected(-1), -1);
    EXPECT_FALSE(list.SelectionHasImage(0));
    EXPECT_FALSE(list.SelectionHasImage(-1));

    list.SetItemSelected(1, true);
    list.SetItemSelected(3, true);
    list.SetItemSelected(3, true);
    EXPECT_EQ(list.GetSelectedCount(), 2);
    EXPECT_EQ(list.GetNextSelected(-1), 1);
    EXPECT_EQ(list.GetNextSelected(1), 3);
    EXPECT_EQ(list.GetNextSelected(3), -1);
    EXPECT_EQ(list.GetNextSelected(1 << 30), -1);
    EXPECT_TRUE(list.SelectionHasImage(0));
    EXPECT_TRUE(list.SelectionHasImage(-1));
    EXPECT_FALSE(list.SelectionHasImage(1));

    list.SetItemSelected(2, true); // the protected row makes the selection mixed
    EXPECT_FALSE(list.SelectionHasImage(0));
    EXPECT_FALSE(list.SelectionHasImage(-1));
    list.SetItemSelected(1, false);
    list.SetItemSelected(3, false);
    EXPECT_TRUE(list.SelectionHasImage(1));
    EXPECT_TRUE(list.SelectionHasImage(-1));

    list.SetFocusedItem(0);
    list.SetFocusedItem(2);
    EXPECT_EQ(list.GetFocusedItem(), 2);
    EXPECT_FALSE(list.GetRow(0).bFocused);
    list.DeleteItem(0); // rows after a removed one move up, with their focus
    EXPECT_EQ(list.GetFocusedItem(), 1);
    EXPECT_EQ(list.GetSelectedCount(), 1);
    list.DeleteItem(1);
    EXPECT_EQ(list.GetFocusedItem(), -1);
    EXPECT_EQ(list.GetSelectedCount(), 0);
    EXPECT_FALSE(list.DeleteItem(5));
}

TEST(CookieListModel, DeleteItemsKeepsTheOthersInOrder)
{
    CRecords records;
    CCookieListModel list;
    for (const char* psz : {"a", "b", "c", "d", "e"})
        list.InsertItem(psz, 0, records.Add(psz));
    list.SetItemSelected(0, true);
    list.SetItemSelected(3, true);
    list.SetFocusedItem(4);
    list.DeleteItems({true, false, true, false});
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "d", "e"}));
    EXPECT_EQ(list.GetSelectedCount(), 1);
    EXPECT_EQ(list.GetNextSelected(-1), 1);
    EXPECT_EQ(list.GetFocusedItem(), 2);
}

namespace
{
int g_nCompareCalls = 0;

int CountedCompare(std::intptr_t lParam1, std::intptr_t lParam2, std::intptr_t lParamSort)
{
    ++g_nCompareCalls;
    return CInventoryTestAccess::CompareCookies(lParam1, lParam2, lParamSort);
}
} // namespace

TEST(CookieListModel, SortingRowsAlreadyInOrderAsksOnceForEachRun)
{
    CRecords records;
    CCookieListModel list;
    std::vector<CCookieRow> rows;
    for (int i = 0; i < 1024; ++i)
        rows.push_back(MakeRow(records.Add("n" + std::to_string(1000 + i), false)));
    list.InsertItems(rows);
    // Rows in order: each merge of two runs is settled by one question about
    // its two middle rows, and that by one call.
    g_nCompareCalls = 0;
    list.SortItems(CountedCompare, COL_COOKIE);
    EXPECT_EQ(g_nCompareCalls, 1023);
    g_nCompareCalls = 0;
    list.SortItems(CountedCompare, COL_STATE); // all equal, never reported as such
    EXPECT_EQ(g_nCompareCalls, 1023);
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(list.GetItemData(i)->m_strName, "n" + std::to_string(1000 + i));
}

// Long stretches from one side, as a sort by State meets them, are merged by
// looking ahead; the order must be that of a plain stable sort all the same.
TEST(CookieListModel, SortsLikeAStableSortOverLongAndShortStretches)
{
    std::mt19937 random(5);
    for (int nProtectOneIn : {2, 10, 400})
    {
        CRecords records;
        CCookieListModel list;
        std::vector<CCookieRow> rows;
        for (int i = 0; i < 3000; ++i)
        {
            // Few names, so that the Cookie column has long runs of equal texts too.
            const std::string strName = "n" + std::to_string(random() % 40);
            rows.push_back(MakeRow(records.Add(strName, random() % nProtectOneIn == 0)));
        }
        list.InsertItems(rows);
        for (int nColumn : {COL_STATE, COL_COOKIE, COL_STATE})
        {
            std::vector<CCookie*> expected;
            for (int i = 0; i < list.GetItemCount(); ++i)
                expected.push_back(list.GetItemData(i));
            std::stable_sort(expected.begin(), expected.end(),
                             [nColumn](const CCookie* a, const CCookie* b) {
                                 return nColumn == COL_STATE ? a->m_bProtected < b->m_bProtected
                                                             : a->m_strName < b->m_strName;
                             });
            list.SortItems(CInventoryTestAccess::CompareCookies, nColumn);
            for (int i = 0; i < list.GetItemCount(); ++i)
                ASSERT_EQ(list.GetItemData(i), expected[static_cast<size_t>(i)])
                    << "column " << nColumn << ", row " << i;
        }
    }
}

TEST(CookieListModel, InsertItemsIntoAnEmptyListMatchesInsertingOneByOne)
{
    CRecords records;
    std::mt19937 random(9);
    CCookieListModel oneByOne, batch;
    std::vector<CCookieRow> rows;
    for (int i = 0; i < 700; ++i)
    {
        CCookie* pCookie = records.Add("n" + std::to_string(random() % 90), random() % 3 == 0);
        oneByOne.InsertItem(pCookie->GetName(), pCookie->m_bProtected, pCookie);
        rows.push_back(MakeRow(pCookie));
        rows.back().bSelected = rows.back().bFocused = true; // a batch brings no selection
    }
    batch.InsertItems(rows);
    ASSERT_EQ(batch.GetItemCount(), oneByOne.GetItemCount());
    for (int i = 0; i < batch.GetItemCount(); ++i)
    {
        ASSERT_EQ(batch.GetItemData(i), oneByOne.GetItemData(i)) << i;
        EXPECT_EQ(batch.GetRow(i).strText[COL_STATE], batch.GetItemData(i)->GetState()) << i;
        EXPECT_EQ(batch.GetRow(i).strText[COL_BROWSER], NS_BROWSER_NAME) << i;
    }
    EXPECT_EQ(batch.GetSelectedCount(), 0);
    EXPECT_EQ(batch.GetFocusedItem(), -1);
}
