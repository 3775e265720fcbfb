#include "inventory/control_state.h"
#include "inventory/cookie.h"
#include "inventory/cookie_list_model.h"
#include "inventory/stores/netscape/ns_cookie.h"

#include <gtest/gtest.h>

TEST(ControlState, EmptyList)
{
    CCookieListModel list;
    const CControlState state = ComputeControlState(list, "&Unprotect");
    EXPECT_FALSE(state.bDeleteEnabled);
    EXPECT_FALSE(state.bDeleteAllEnabled);
    EXPECT_FALSE(state.bProtectEnabled);
    EXPECT_EQ(state.strProtectLabel, "&Unprotect"); // unchanged without a selection
    EXPECT_EQ(state.strCount, "0");
    EXPECT_EQ(state.strTrayTip, "Jarvane (0 Cookies)");
}

TEST(ControlState, FollowsTheSelection)
{
    CNSCookie cookie("d", "f", "d\tx");
    CCookieListModel list;
    for (int i = 0; i < 120; ++i)
        list.InsertItem(std::to_string(1000 + i), i % 2, &cookie);

    CControlState state = ComputeControlState(list, "&Protect");
    EXPECT_TRUE(state.bDeleteAllEnabled);
    EXPECT_FALSE(state.bDeleteEnabled);
    EXPECT_EQ(state.strCount, "120");
    EXPECT_EQ(state.strTrayTip, "Jarvane (120 Cookies)");

    list.SetItemSelected(0, true); // unprotected
    state = ComputeControlState(list, "&Unprotect");
    EXPECT_TRUE(state.bDeleteEnabled);
    EXPECT_TRUE(state.bProtectEnabled);
    EXPECT_EQ(state.strProtectLabel, "&Protect");

    list.SetItemSelected(1, true); // mixed: the label follows the first selected row
    state = ComputeControlState(list, "&Unprotect");
    EXPECT_FALSE(state.bDeleteEnabled);
    EXPECT_FALSE(state.bProtectEnabled);
    EXPECT_EQ(state.strProtectLabel, "&Protect");

    list.SetItemSelected(0, false); // only protected rows
    state = ComputeControlState(list, "&Protect");
    EXPECT_FALSE(state.bDeleteEnabled);
    EXPECT_TRUE(state.bProtectEnabled);
    EXPECT_EQ(state.strProtectLabel, "&Unprotect");
}
