#include "tests/e2e/ProcessStats.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace e2e {

namespace {

// The layout of one entry of the GDI handle table, as Wine 8 keeps it for
// every process (its include/ntgdi.h, GDI_HANDLE_ENTRY) and as 64-bit
// Windows lays out its own: 24 bytes, of which the object type byte is
// non-zero exactly while the handle is in use.
#pragma pack(push, 1)
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24);

// The table has room for 65536 handles (GDI_MAX_HANDLE_COUNT).
constexpr std::size_t kGdiHandleCount = 0x10000;

// The place of the PEB's GdiSharedHandleTable field in a 64-bit process;
// MinGW's winternl.h declares that part of the PEB only as reserved bytes.
constexpr std::size_t kPebGdiSharedHandleTableOffset = 0xF8;

using NtQueryInformationProcessFunction = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

bool ReadRemote(HANDLE process, std::uint64_t address, void* to, std::size_t size) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)), to, size,
                             &read) &&
           read == size;
}

// Committed private memory, summed over the process's address space. The
// counter that GetProcessMemoryInfo gives (PrivateUsage) is not kept for
// another process under Wine, while the regions' own description is.
std::optional<std::uint64_t> PrivateBytes(HANDLE process) {
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    bool any = false;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        any = true;
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    if (!any) return std::nullopt;
    return total;
}

int CountWindows(DWORD processId) {
    struct Count {
        DWORD processId;
        int windows;
    } count{processId, 0};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* c = reinterpret_cast<Count*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != c->processId) return TRUE;
            ++c->windows;
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++reinterpret_cast<Count*>(inner)->windows;
                    return TRUE;
                },
                lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

} // namespace

// GetGuiResources(GR_GDIOBJECTS) gives 0 under Wine. Each process there keeps
// its GDI handle table in its own memory and publishes it the way Windows
// does: NtQueryInformationProcess(ProcessBasicInformation) gives the address
// of the process's PEB, whose GdiSharedHandleTable field points at the table
// of 65536 entries. The table is read whole with ReadProcessMemory (1.5 MB)
// and the entries whose type byte is not zero are counted: Wine clears the
// type when it frees a handle.
std::optional<int> CountGdiObjects(HANDLE process) {
    static const auto query = reinterpret_cast<NtQueryInformationProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return std::nullopt;
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 || !basic.PebBaseAddress)
        return std::nullopt;
    std::uint64_t table = 0;
    if (!ReadRemote(process, reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress) + kPebGdiSharedHandleTableOffset,
                    &table, sizeof table) ||
        table == 0)
        return std::nullopt;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!ReadRemote(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry))) return std::nullopt;
    int live = 0;
    for (const GdiHandleEntry& entry : entries)
        live += entry.type != 0;
    return live;
}

std::optional<ProcessStats> ReadProcessStats(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return std::nullopt;
    std::optional<ProcessStats> stats;
    const std::optional<std::uint64_t> privateBytes = PrivateBytes(process);
    const std::optional<int> gdiObjects = CountGdiObjects(process);
    if (privateBytes && gdiObjects) stats = ProcessStats{*privateBytes, *gdiObjects, CountWindows(processId)};
    CloseHandle(process);
    return stats;
}

} // namespace e2e
