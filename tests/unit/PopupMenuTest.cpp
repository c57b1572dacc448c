#include "ui/PopupMenu.h"

#include <gtest/gtest.h>

#include <string>

TEST(PopupMenu, KeepsItemsInOrderWithShortcutLabelsCheckMarksAndHandlers) {
    ui::PopupMenu menu;
    std::string chosen;
    EXPECT_EQ(menu.AddItem(
                  L"Full Screen", [&] { chosen += "full "; }, L"Ctrl+1"),
              0);
    menu.AddSeparator();
    EXPECT_EQ(menu.AddItem(L"Exit", [&] { chosen += "exit "; }), 2);
    ASSERT_EQ(menu.Count(), 3);

    // The label stands in the menu's right column, apart from the caption.
    wchar_t text[64] = {};
    GetMenuStringW(menu.Handle(), 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Full Screen\tCtrl+1");
    EXPECT_EQ(menu.Caption(0), L"Full Screen");
    EXPECT_EQ(menu.Caption(2), L"Exit");
    EXPECT_TRUE(menu.IsSeparator(1));
    EXPECT_FALSE(menu.IsSeparator(2));

    EXPECT_FALSE(menu.Checked(0));
    menu.SetChecked(0, true);
    EXPECT_TRUE(menu.Checked(0));
    EXPECT_FALSE(menu.Checked(2));
    menu.SetChecked(0, false);
    EXPECT_FALSE(menu.Checked(0));
    menu.SetEnabled(2, false);
    EXPECT_FALSE(menu.Enabled(2));
    menu.SetEnabled(2, true);
    EXPECT_TRUE(menu.Enabled(2));

    // Each item runs its own handler; a separator has none.
    menu.Choose(2);
    menu.Choose(1);
    menu.Choose(0);
    EXPECT_EQ(chosen, "exit full ");
}
