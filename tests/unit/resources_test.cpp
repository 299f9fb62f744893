// The program's resources in the forms the platform and the code rely on.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "resources/resource_ids.h"

namespace {

struct IconShape {
    int width = 0, height = 0;
    DWORD hotX = 0, hotY = 0;
    bool colour = false;
};

IconShape shapeOf(HICON icon)
{
    IconShape s;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return s;
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    s.width = mask.bmWidth;
    // A monochrome image keeps its AND and XOR masks one above the other.
    s.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    s.hotX = info.xHotspot;
    s.hotY = info.yHotspot;
    s.colour = info.hbmColor != nullptr;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return s;
}

std::string resourceText(LPCSTR type, LPCSTR name)
{
    HRSRC found = FindResourceA(AppInstance, name, type);
    if (!found)
        return "";
    HGLOBAL loaded = LoadResource(AppInstance, found);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(AppInstance, found));
}

}  // namespace

TEST(Resources, IconComesInBothSizes)
{
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_SCOPELLA), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        const IconShape s = shapeOf(icon);
        EXPECT_EQ(size, s.width);
        EXPECT_EQ(size, s.height);
        EXPECT_TRUE(s.colour);
        DestroyIcon(icon);
    }
}

TEST(Resources, CursorsAreMonochromeWithTheirHotSpots)
{
    const IconShape arrow = shapeOf(LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_VIEW_ARROW)));
    EXPECT_EQ(32, arrow.width);
    EXPECT_EQ(32, arrow.height);
    EXPECT_FALSE(arrow.colour);
    EXPECT_EQ(0u, arrow.hotX);
    EXPECT_EQ(0u, arrow.hotY);
    const IconShape hand = shapeOf(LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_LINK_HAND)));
    EXPECT_EQ(32, hand.width);
    EXPECT_FALSE(hand.colour);
    EXPECT_EQ(0u, hand.hotY);  // the fingertip
}

TEST(Resources, ToolbarBitmapHoldsEightSixteenColourTiles)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(AppInstance, MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap);
    DIBSECTION dib = {};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), GetObjectA(bitmap, sizeof(dib), &dib));
    EXPECT_EQ(128, dib.dsBm.bmWidth);
    EXPECT_EQ(15, dib.dsBm.bmHeight);
    EXPECT_EQ(4, dib.dsBmih.biBitCount);
    DeleteObject(bitmap);
}

TEST(Resources, ManifestAsksForCommonControlsSixAndPhysicalPixels)
{
    const std::string manifest = resourceText(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, manifest.find("PerMonitorV2"));
    EXPECT_NE(std::string::npos, manifest.find("true/pm"));
    EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"));  // Windows 10 and 11
}

TEST(Resources, VersionIsOnePointEight)
{
    HRSRC found = FindResourceA(AppInstance, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16) /* RT_VERSION */);
    ASSERT_NE(nullptr, found);
    const void* data = LockResource(LoadResource(AppInstance, found));
    // The fixed part follows the root block's header: find its signature.
    const BYTE* bytes = static_cast<const BYTE*>(data);
    const DWORD size = SizeofResource(AppInstance, found);
    const VS_FIXEDFILEINFO* fixed = nullptr;
    for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4) {
        if (reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes + i)->dwSignature == 0xFEEF04BD) {
            fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes + i);
            break;
        }
    }
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(MAKELONG(8, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(8, 1), fixed->dwProductVersionMS);
}
