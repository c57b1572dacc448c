// config.ini as users' editors write it: each encoding is read as it is, and
// Save and Reset keep it, widening an ANSI file to UTF-16 only when a folder
// name needs characters that the code page lacks.
#include "tests/e2e/CaptureSession.h"
#include "tests/support/TextEncodings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace e2e;
using support::ByteOrderMark;
using support::FileEncoding;
using support::FileHolds;
using support::FileOfText;

class SettingsFile : public CaptureSession {
protected:
    std::string ConfigBytes() const {
        std::ifstream in(std::filesystem::path(app->Folder() + L"\\config.ini"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

} // namespace

TEST_F(SettingsFile, FoldersOutsideTheCodePageSurviveSaveAndResetInEveryEncoding) {
    const std::wstring cafe = L"C:\\out\\caf\x00E9";
    const std::wstring chinese = L"C:\\\x622A\x56FE\\\x8F93\x51FA";
    const std::wstring notes = L"; pictures for the caf\x00E9, \x00BD size\r\n";
    for (const FileEncoding encoding :
         {FileEncoding::Ansi, FileEncoding::Utf8, FileEncoding::Utf8WithBom, FileEncoding::Utf16LE}) {
        SCOPED_TRACE(support::EncodingName(encoding));
        Start(FileOfText(
            notes + L"[Options]\r\nInterval=1000\r\nIntervalCent=Seconds\r\nRealSavePath=" + cafe + L"\r\n", encoding));
        ASSERT_TRUE(SaveFolderInOptions(cafe, chinese));

        const FileEncoding wide = encoding == FileEncoding::Ansi ? FileEncoding::Utf16LE : encoding;
        const std::string file = ConfigBytes();
        EXPECT_TRUE(file.starts_with(ByteOrderMark(wide) + support::EncodedText(notes, wide)));
        EXPECT_TRUE(FileHolds(
            file, L"[Options]\r\nInterval=1000\r\nIntervalCent=Seconds\r\nRealSavePath=" + chinese + L"\r\n", wide));
        ASSERT_EQ(app->Close(), std::optional<DWORD>(0));

        // Started again on the saved file: the folder reads back, and Reset
        // keeps the encoding and the lines it does not write.
        Start(file);
        HWND options = OpenOptions();
        ASSERT_NE(options, nullptr) << "the Options window did not open";
        EXPECT_NE(EditShowing(options, chinese), nullptr) << "the saved folder did not read back";
        ClickOptions(options, OptionsCommand::Reset);
        ASSERT_TRUE(WaitUntil([&] { return EditShowing(options, L"D:\\output") != nullptr; }, kWait))
            << "Reset did not show the factory folder";
        const std::string reset = ConfigBytes();
        EXPECT_TRUE(reset.starts_with(ByteOrderMark(wide) + support::EncodedText(notes, wide)));
        EXPECT_TRUE(FileHolds(reset, L"RealSavePath=D:\\output\r\n", wide));
        EXPECT_TRUE(FileHolds(reset, L"FixedRegionWidth=320\r\n", wide));
        PostMessageW(options, WM_CLOSE, 0, 0);
        ASSERT_EQ(app->Close(), std::optional<DWORD>(0));
    }
}
