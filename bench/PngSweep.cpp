#include "bench/PngSweep.h"

#include "bench/Desktop.h"
#include "bench/Measure.h"
#include "bench/References.h"
#include "imaging/ImageWriters.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace bench {

void PngSweep(const std::filesystem::path& folder) {
    const ui::Bitmap content = DesktopContent(1920, 1080);
    const std::wstring path = (folder / L"sweep.png").wstring();
    WritePngLibpngDefaults(content, path);
    const double referenceBytes = static_cast<double>(FileBytes(path));
    struct Named {
        const char* name;
        int value;
    };
    const Named filters[] = {{"none", 0}, {"sub", 1}, {"up", 2}};
    const Named strategies[] = {{"default", Z_DEFAULT_STRATEGY}, {"filtered", Z_FILTERED}, {"rle", Z_RLE}};
    struct Setting {
        int level;
        const Named* strategy;
        const Named* filter;
        int threads;
        std::vector<double> ms;
        long long bytes = 0;
    };
    std::vector<Setting> settings;
    for (int level : {1, 2, 3, 4, 6})
        for (const Named& strategy : strategies)
            for (const Named& filter : filters)
                for (int threads : {1, 2})
                    // The level changes nothing for runs, and nothing but the
                    // level matters to Z_FILTERED below level 4 (zlib's fast
                    // path ignores the strategy).
                    if ((strategy.value != Z_RLE || level == 1) && (strategy.value != Z_FILTERED || level >= 4))
                        settings.push_back({level, &strategy, &filter, threads, {}});
    // Round after round over all settings, so that the load of the machine
    // at any moment weighs on all of them alike.
    const int rounds = 5;
    std::vector<double> referenceMs;
    for (int round = 0; round < rounds; ++round) {
        referenceMs.push_back(MedianMs(1, [&] { WritePngLibpngDefaults(content, path); }));
        for (Setting& setting : settings) {
            const imaging::PngOptions options{setting.level, setting.strategy->value, setting.filter->value,
                                              setting.threads};
            setting.ms.push_back(MedianMs(1, [&] { imaging::WritePng(content, path, options); }));
            setting.bytes = FileBytes(path);
        }
    }
    const double reference = Median(referenceMs);
    std::printf("libpng defaults: %.2f ms, %.0f bytes; time and size below are ratios to these\n", reference,
                referenceBytes);
    std::printf("%-6s %-9s %-6s %-8s %9s %10s %7s %7s\n", "level", "strategy", "filter", "threads", "median ms",
                "bytes", "time", "size");
    for (const Setting& setting : settings) {
        const double ms = Median(setting.ms);
        std::printf("%-6d %-9s %-6s %-8d %9.2f %10lld %7.3f %7.3f\n", setting.level, setting.strategy->name,
                    setting.filter->name, setting.threads, ms, setting.bytes, ms / reference,
                    static_cast<double>(setting.bytes) / referenceBytes);
    }
}

} // namespace bench
