// The release package as a user meets it: the zip unpacked into an empty
// folder of its own, far from the build and its DLLs. tools/test.sh unpacks
// it and names the folder in SNAPORA_RELEASE_DIR. The checks cover what
// Explorer shows of the files, and a capture made by the program started
// from that folder, so a runtime DLL or file the package lacks shows up here.
#include "SnaporaVersion.h"
#include "app/MainWindow.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace e2e;

// The version in the file VERSION, as the build read it.
const std::wstring kVersion = L"" SNAPORA_VERSION_TEXT;

// A text of the file's version resource (US English, Unicode block); empty when missing.
std::wstring VersionText(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return {};
    return text;
}

// The numeric file version, which Explorer shows beside the texts, as "major.minor.patch".
std::wstring FixedFileVersion(const std::wstring& file) {
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return {};
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
}

// The program's resources, read without running it.
class ResourceFile {
public:
    explicit ResourceFile(const std::wstring& file)
        : module_(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceFile() {
        if (module_) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    // The sizes held by the first icon group, the one Explorer shows for the
    // file, counting only full-colour pictures with an alpha channel.
    std::set<int> IconSizes() const {
        std::set<int> sizes;
        if (!module_) return sizes;
        std::wstring name;
        EnumResourceNamesW(
            module_, RT_GROUP_ICON,
            [](HMODULE, LPCWSTR, LPWSTR found, LONG_PTR param) -> BOOL {
                auto& first = *reinterpret_cast<std::wstring*>(param);
                first = IS_INTRESOURCE(found) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(found)) : found;
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&name));
        const std::vector<BYTE> group = Data(name.c_str(), RT_GROUP_ICON);
        // The group: a 6-byte header whose third word counts the entries,
        // then 14-byte entries: width, height (0 meaning 256), colours,
        // reserved, planes (word), bits per pixel (word), size and id.
        if (group.size() < 6) return sizes;
        const size_t count = group[4] | group[5] << 8;
        for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
            const BYTE* entry = &group[6 + 14 * i];
            const int bits = entry[6] | entry[7] << 8;
            if (bits == 32) sizes.insert(entry[0] ? entry[0] : 256);
        }
        return sizes;
    }

    std::string Manifest() const {
        const std::vector<BYTE> data = Data(MAKEINTRESOURCEW(1), RT_MANIFEST);
        return {data.begin(), data.end()};
    }

private:
    std::vector<BYTE> Data(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = module_ ? FindResourceW(module_, name, type) : nullptr;
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
        if (!bytes) return {};
        return {bytes, bytes + SizeofResource(module_, found)};
    }

    HMODULE module_;
};

class Release : public CaptureSession {
protected:
    void SetUp() override {
        if (const wchar_t* folder = _wgetenv(L"SNAPORA_RELEASE_DIR")) folder_ = folder;
        if (folder_.empty())
            GTEST_SKIP() << "no release package to test: tools/package.sh builds one, and tools/test.sh unpacks it "
                            "and names its folder in SNAPORA_RELEASE_DIR";
    }

    std::wstring folder_;
};

} // namespace

TEST_F(Release, FilesShowVersionIconAndManifest) {
    std::vector<std::wstring> files = ListFiles(folder_);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"LICENSE.txt", L"README.txt", L"Snapora.exe", L"capture.chm",
                                                L"config.ini", L"hook.dll"}));

    for (const wchar_t* name : {L"Snapora.exe", L"hook.dll"}) {
        SCOPED_TRACE(name);
        const std::wstring file = folder_ + L"\\" + name;
        EXPECT_EQ(VersionText(file, L"ProductName"), L"Snapora");
        EXPECT_EQ(VersionText(file, L"FileVersion"), kVersion);
        EXPECT_EQ(VersionText(file, L"ProductVersion"), kVersion);
        EXPECT_EQ(FixedFileVersion(file), kVersion);
        EXPECT_FALSE(VersionText(file, L"FileDescription").empty());
        EXPECT_EQ(VersionText(file, L"OriginalFilename"), name);
    }

    const ResourceFile program(folder_ + L"\\Snapora.exe");
    EXPECT_EQ(program.IconSizes(), (std::set<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
    // The manifest makes the program per-monitor DPI aware (captures in
    // physical pixels) and gives it the themed common controls.
    const std::string manifest = program.Manifest();
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2</dpiAwareness>"),
              std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    const std::string version(kVersion.begin(), kVersion.end());
    EXPECT_NE(manifest.find("name=\"Snapora\" version=\"" + version + ".0\""), std::string::npos) << manifest;
}

TEST_F(Release, StartsFromTheUnpackedFolderCapturesTheFullScreenByHotkeyAndShowsTheFactorySettings) {
    app.emplace(RunningSnapora::LaunchArgs{.programFolder = folder_});
    main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000);
    ASSERT_NE(main, nullptr) << "Snapora.exe did not start from the package's files alone";

    TargetProgram target({60, 680, 360, 900});
    MoveMouse({1200, 980});
    const Picture before = GrabScreen(Screen());
    PressKeys({VK_CONTROL, '1'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+1 opened no picture window";
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), before.Size());
    RECT t = support::WindowRectOf(target.Window());
    EXPECT_TRUE(SamePicture(Part(shot, t.left, t.top, t.right - t.left, t.bottom - t.top),
                            Part(before, t.left, t.top, t.right - t.left, t.bottom - t.top)));
    Cancel(save);

    // The package's settings: a usable fixed region and a folder for
    // periodic capture, as Options shows them.
    HWND options = OpenOptions();
    ASSERT_NE(options, nullptr) << "the Options window did not open";
    for (const wchar_t* shown : {L"320", L"240", L"D:\\output"})
        EXPECT_NE(EditShowing(options, shown), nullptr) << "Options shows no " << shown;
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }, kWait));

    const auto code = app->Close();
    ASSERT_TRUE(code.has_value()) << "the program did not end when closed";
    EXPECT_EQ(*code, 0u);
}
