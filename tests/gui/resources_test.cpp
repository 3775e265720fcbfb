#include "res/resources.h"

#include <gtest/gtest.h>
#include <wx/image.h>

namespace
{
void ExpectSize(const wxBitmap& bitmap, int nWidth, int nHeight)
{
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_EQ(nWidth, bitmap.GetWidth());
    EXPECT_EQ(nHeight, bitmap.GetHeight());
}

// True when the pixel is see-through in the bitmap as drawn.
bool IsTransparent(const wxBitmap& bitmap, int x, int y)
{
    const wxImage image = bitmap.ConvertToImage();
    if (image.HasMask())
        return image.GetRed(x, y) == image.GetMaskRed() &&
               image.GetGreen(x, y) == image.GetMaskGreen() &&
               image.GetBlue(x, y) == image.GetMaskBlue();
    return image.HasAlpha() && image.GetAlpha(x, y) == wxIMAGE_ALPHA_TRANSPARENT;
}
} // namespace

TEST(ResourcesTest, BitmapsHaveTheSizesTheWindowsLayOutFor)
{
    for (int nId :
         {IDB_IE_FOLDER, IDB_NS_FILE, IDB_NS_EMBLEM, IDB_IE_EMBLEM, IDB_COOKIE, IDB_PROTECTED})
    {
        SCOPED_TRACE(nId);
        ExpectSize(LoadResourceBitmap(nId), 16, 16);
    }
    ExpectSize(LoadResourceBitmap(IDB_LOGO), 50, 49);
    ExpectSize(LoadResourceBitmap(IDB_WAIT), 94, 104);
    EXPECT_FALSE(LoadResourceBitmap(999).IsOk());
}

TEST(ResourcesTest, WhiteCornersOfRowImagesAreTransparentButTheirLettersAreNot)
{
    for (int nId : {IDB_IE_FOLDER, IDB_NS_FILE, IDB_COOKIE, IDB_PROTECTED})
    {
        SCOPED_TRACE(nId);
        const wxBitmap bitmap = LoadResourceBitmap(nId);
        ASSERT_TRUE(bitmap.GetMask() != nullptr);
        EXPECT_TRUE(IsTransparent(bitmap, 0, 15));
    }
    // The white letter in the middle of the discs must stay visible on a selected row.
    const wxBitmap cookie = LoadResourceBitmap(IDB_COOKIE);
    const wxImage image = cookie.ConvertToImage();
    int nOpaqueWhite = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (image.GetRed(x, y) > 240 && !IsTransparent(cookie, x, y))
                ++nOpaqueWhite;
    EXPECT_GT(nOpaqueWhite, 10);
    EXPECT_FALSE(IsTransparent(LoadResourceBitmap(IDB_WAIT), 0, 0));
}

TEST(ResourcesTest, IconsComeInTheirSizesAndFallBackToTheNearestLarger)
{
    EXPECT_EQ(32, LoadResourceIcon(IDR_MAINFRAME, 32).GetWidth());
    EXPECT_EQ(16, LoadResourceIcon(IDR_MAINFRAME, 16).GetWidth());
    EXPECT_EQ(22, LoadResourceIcon(IDI_TRAY, 22).GetWidth());
    EXPECT_EQ(32, LoadResourceIcon(IDI_TRAY, 24).GetWidth());
    EXPECT_EQ(32, LoadResourceIcon(IDI_OPTIONS, 16).GetWidth());
    EXPECT_EQ(32, LoadResourceIcon(IDI_OPTIONS, 48).GetWidth());
    EXPECT_FALSE(LoadResourceIcon(999).IsOk());

    const wxIconBundle bundle = LoadResourceIconBundle(IDR_MAINFRAME);
    EXPECT_EQ(2u, bundle.GetIconCount());
    EXPECT_TRUE(bundle.GetIcon(wxSize(16, 16), wxIconBundle::FALLBACK_NONE).IsOk());
    EXPECT_TRUE(IsTransparent(LoadResourceIcon(IDI_TRAY, 16), 0, 0));
}
