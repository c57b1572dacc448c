#include "settings/IniText.h"
#include "settings/Options.h"
#include "tests/support/TextEncodings.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

using settings::CaptureOptions;
using settings::DetectTextEncoding;
using settings::IniFile;
using settings::IniText;
using settings::TextEncoding;
using support::FileHolds;
using support::FileOfText;
using support::ReadFileBytes;
using support::TempFolder;
using support::WriteFileBytes;

namespace {

using support::FileEncoding;

TextEncoding AsTextEncoding(FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Ansi:
        return TextEncoding::Ansi;
    case FileEncoding::Utf8:
        return TextEncoding::Utf8;
    case FileEncoding::Utf8WithBom:
        return TextEncoding::Utf8WithBom;
    default:
        return TextEncoding::Utf16LE;
    }
}

} // namespace

TEST(IniText, TellsTheEncodingByItsMarkOrItsBytes) {
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF[Options]"), TextEncoding::Utf8WithBom);
    EXPECT_EQ(DetectTextEncoding("\xFF\xFE[\0"), TextEncoding::Utf16LE);
    EXPECT_EQ(DetectTextEncoding("\xFE\xFF\0["), TextEncoding::Utf16BE);
    EXPECT_EQ(DetectTextEncoding("Path=C:\\caf\xC3\xA9\r\n"), TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("Path=C:\\\xE6\x88\xAA\xF0\x9F\x93\xB7"), TextEncoding::Utf8);
    // Plain ASCII, cp1252, an overlong form, a surrogate and a cut sequence are no UTF-8.
    for (const char* bytes : {"Path=C:\\out", "Path=C:\\caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "caf\xC3"})
        EXPECT_EQ(DetectTextEncoding(bytes), TextEncoding::Ansi) << bytes;
}

TEST(IniText, FollowsTheProfileRulesForSectionsKeysAndLines) {
    IniText text("; notes\n[Options]\n  interval = 5  \nA\n[options]\nB=2\n\n[Other]\nC=3");
    EXPECT_EQ(text.Value(L" OPTIONS ", L"Interval"), L"5");
    // The first matching section is the only one searched, and a line
    // without "=" names a key that has no value.
    EXPECT_EQ(text.Value(L"Options", L"B"), std::nullopt);
    EXPECT_EQ(text.Value(L"Options", L"A"), std::nullopt);

    text.Set(L"Options", L"Interval", L"7");
    text.Set(L"Options", L"New", L"1");
    text.Set(L"Other", L"D", L"4");
    text.Set(L"Added", L"E", L"5");
    EXPECT_EQ(text.Bytes(), "; notes\n[Options]\ninterval=7\nA\nNew=1\r\n[options]\nB=2\n\n[Other]\nC=3\r\nD=4\r\n"
                            "[Added]\r\nE=5\r\n");
    EXPECT_EQ(text.Encoding(), TextEncoding::Ansi);
}

TEST(Settings, FoldersOutsideTheCodePageSurviveSaveAndResetInEveryEncoding) {
    const std::wstring notes = L"; notes \x00BD done\r\n";
    const std::wstring other = L"[Other]\r\nName=Zo\x00EB\r\n";
    for (const FileEncoding encoding :
         {FileEncoding::Ansi, FileEncoding::Utf8, FileEncoding::Utf8WithBom, FileEncoding::Utf16LE}) {
        SCOPED_TRACE(support::EncodingName(encoding));
        TempFolder folder;
        const std::wstring path = folder.File(L"config.ini");
        WriteFileBytes(path,
                       FileOfText(notes + L"[Options]\r\nRealSavePath = C:\\out\\caf\x00E9\r\n" + other, encoding));
        ASSERT_EQ(DetectTextEncoding(ReadFileBytes(path)), AsTextEncoding(encoding));
        IniFile file(path);
        CaptureOptions options;
        settings::LoadOptions(file, options);
        EXPECT_EQ(options.PeriodicFolder, L"C:\\out\\caf\x00E9");

        options.PeriodicFolder = L"C:\\out\\caf\x00E9\\2";
        settings::SaveOptions(file, options);
        std::string bytes = ReadFileBytes(path);
        EXPECT_EQ(DetectTextEncoding(bytes), AsTextEncoding(encoding));
        EXPECT_TRUE(FileHolds(bytes, notes, encoding) && FileHolds(bytes, other, encoding)) << bytes;
        settings::LoadOptions(file, options);
        EXPECT_EQ(options.PeriodicFolder, L"C:\\out\\caf\x00E9\\2");

        // Chinese needs UTF-16 in an ANSI file; the others hold it as they are.
        const FileEncoding wide = encoding == FileEncoding::Ansi ? FileEncoding::Utf16LE : encoding;
        options.PeriodicFolder = L"C:\\\x622A\x56FE\\\x8F93\x51FA";
        settings::SaveOptions(file, options);
        bytes = ReadFileBytes(path);
        EXPECT_EQ(DetectTextEncoding(bytes), AsTextEncoding(wide));
        EXPECT_TRUE(FileHolds(bytes, notes, wide) && FileHolds(bytes, other, wide)) << bytes;
        settings::LoadOptions(file, options);
        EXPECT_EQ(options.PeriodicFolder, L"C:\\\x622A\x56FE\\\x8F93\x51FA");
        EXPECT_EQ(file.ReadString(L"Other", L"Name", L""), L"Zo\x00EB");

        settings::ResetOptions(file, options);
        bytes = ReadFileBytes(path);
        EXPECT_EQ(DetectTextEncoding(bytes), AsTextEncoding(wide));
        EXPECT_TRUE(FileHolds(bytes, notes, wide) && FileHolds(bytes, L"RealSavePath=D:\\output\r\n", wide) &&
                    FileHolds(bytes, L"RealTime=0\r\n" + other, wide))
            << bytes;
    }
}

TEST(Settings, DamagedBytesGiveTheDefaultOfTheirKeyAndSaveMendsOnlyWhatItWrites) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    WriteFileBytes(path, "\xEF\xBB\xBF[Options]\r\nFixedRegionWidth=64\xFF\r\nFixedRegionHeight=48\r\n"
                         "RealSavePath=C:\\a\x80\r\n; kept \xFE\r\n");
    IniFile file(path);
    CaptureOptions options;
    settings::LoadOptions(file, options);
    EXPECT_EQ(options.FixedRegionWidth, 0);
    EXPECT_EQ(options.FixedRegionHeight, 48);
    EXPECT_EQ(options.PeriodicFolder, L"");

    options.FixedRegionWidth = 100;
    options.PeriodicFolder = L"C:\\b";
    settings::SaveOptions(file, options);
    const std::string bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF[Options]\r\nFixedRegionWidth=100\r\nFixedRegionHeight=48\r\n"
                                  "RealSavePath=C:\\b\r\n; kept \xFE\r\n"))
        << bytes;
}
