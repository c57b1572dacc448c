// Hand-edited, damaged or hostile config.ini files: each one, generated from
// a fixed seed, lets the program start and close cleanly and is left exactly
// as it was.
#include "app/MainWindow.h"
#include "tests/support/Files.h"
#include "tests/support/RunningSnapora.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using support::ReadFileBytes;
using support::RunningSnapora;

const char* const kKeys[] = {"StartupSuspend", "IncludeCursor", "FixedRegionWidth", "FixedRegionHeight",
                             "Interval",       "IntervalCent",  "CaptureIndex",     "RealSavePath"};

// One damaged settings file of kind (number % 8), varied by the generator.
std::string MalformedConfig(int number, std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto key = [&] { return std::string(kKeys[pick(8)]); };
    std::string text;
    switch (number % 8) {
    case 0: // random bytes, NULs and all
        for (int i = pick(4096); i > 0; --i)
            text += static_cast<char>(random() & 0xFF);
        break;
    case 1: // huge, negative and non-numeric values
        text = "[Options]\r\n";
        for (const char* value : {"99999999999999999999", "-2147483649", "-1", "0x7FFFFFFFF", "$FFFFFFFF", "1e9", "",
                                  "  12  ", "\"5\"", "abc"})
            text += key() + "=" + value + "\r\n";
        break;
    case 2: // one very long line
        text = "[Options]\r\n" + key() + "=" + std::string(100000 + pick(1000), "9x\\"[pick(3)]) + "\r\n";
        break;
    case 3: // byte-order marks and encodings the reader does not expect
        text = std::string(pick(2) ? "\xEF\xBB\xBF" : "\xFF\xFE") + "[Options]\r\n" + key() + "=" +
               std::to_string(pick(2000)) + "\r\n";
        break;
    case 4: // duplicate sections and keys
        for (int i = 0; i < 3; ++i)
            text += "[Options]\r\n" + key() + "=" + std::to_string(pick(100000) - 500) + "\r\n";
        break;
    case 5: // NUL bytes inside otherwise good lines
        text = "[Options]\r\nFixedRegionWidth=3";
        text += '\0';
        text += "20\r\nRealSavePath=C:\\";
        text += '\0';
        text += "x\r\n";
        break;
    case 6: // fixed regions far beyond any screen, negative periods
        text = "[Options]\r\nFixedRegionWidth=" + std::to_string(30000 + pick(100000)) +
               "\r\nFixedRegionHeight=" + std::to_string(30000 + pick(100000)) + "\r\nInterval=-" +
               std::to_string(pick(100000)) + "\r\nCaptureIndex=" + std::to_string(pick(200) - 100) + "\r\n";
        break;
    default: // lines without '=' or ']' and stray control characters
        text = "[Options\r\n=\r\n==\r\n[\r\n]\r\n" + key() + "\r\n\t\v\f\x1B[2J\r\n";
        break;
    }
    return text;
}

} // namespace

TEST(MalformedSettings, EveryDamagedFileStartsAndClosesCleanlyAndStaysUntouched) {
    constexpr int kFiles = 200;
    std::mt19937 random(20261208);
    for (int i = 0; i < kFiles; ++i) {
        const std::string config = MalformedConfig(i, random);
        RunningSnapora app(RunningSnapora::LaunchArgs{.configIni = config});
        HWND main = app.WaitForWindow(app::kMainWindowClass, L"Snapora", 15000, true);
        ASSERT_NE(main, nullptr) << "file " << i << ": no main window";
        ASSERT_EQ(app.Close(), std::optional<DWORD>(0)) << "file " << i << ": did not close cleanly";
        ASSERT_EQ(ReadFileBytes(app.Folder() + L"\\config.ini"), config) << "file " << i << " was changed";
    }
}
