#include "ui/Error.h"

#include <gtest/gtest.h>

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ui::ErrorBoxText(L"Unable to write to C:\\config.ini"), L"Unable to write to C:\\config.ini.");
    EXPECT_EQ(ui::ErrorBoxText(L"Done."), L"Done.");
    EXPECT_EQ(ui::ErrorBoxText(L"Really!"), L"Really!");     // '!' sorts before '.'
    EXPECT_EQ(ui::ErrorBoxText(L"Files (3)"), L"Files (3)"); // ')' too
    EXPECT_EQ(ui::ErrorBoxText(L"Failed: 404"), L"Failed: 404.");
    EXPECT_EQ(ui::ErrorBoxText(L""), L"");
}

TEST(ErrorBox, FormatsTheArgumentIntoThePattern) {
    EXPECT_EQ(ui::FormatMessageText(L"Unable to write to %s", {L"C:\\a.ini"}), L"Unable to write to C:\\a.ini");
    EXPECT_EQ(ui::FormatMessageText(L"Cannot create file \"%s\". %s", {L"C:\\x.png", L"Access denied"}),
              L"Cannot create file \"C:\\x.png\". Access denied");
    EXPECT_EQ(ui::FormatMessageText(L"%s and %s", {L"one"}), L"one and %s");
}
