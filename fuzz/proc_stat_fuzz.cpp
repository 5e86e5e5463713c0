// Any /proc/stat: the reader gives times that fit 64 bits or a failure, and the sampler fed
// from it gives a load from 0 to 100 or a failed reading.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/proc_stat_times.h"
#include "sensors/cpu_usage.h"

namespace {

struct NoNative : vespar::NativeCounters {
    std::optional<int> ProcessorCount() override { return std::nullopt; }
    std::optional<std::int64_t> TimeOfDay() override { return std::nullopt; }
    std::optional<std::int64_t> IdleProcessTime() override { return std::nullopt; }
};
struct NoVersion : vespar::VersionSource {
    std::optional<vespar::PlatformVersion> Read() override { return std::nullopt; }
};

// A private root with proc/stat, made once per process.
const std::filesystem::path& Root() {
    static const std::filesystem::path root = [] {
        auto p = std::filesystem::temp_directory_path() /
                 ("vespar-fuzz-stat-" + std::to_string(getpid()));
        std::filesystem::create_directories(p / "proc");
        return p;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    // Two readings: the input split at its first NUL byte.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto cut = text.find('\0');
    const std::string first = text.substr(0, cut);
    const std::string second = cut == std::string::npos ? first : text.substr(cut + 1);

    linux_platform::ProcStatTimes times(Root());
    NoNative native;
    NoVersion version;
    CpuUsageSampler sampler(times, native, version);
    const auto stat = Root() / "proc" / "stat";
    std::ofstream(stat, std::ios::binary | std::ios::trunc) << first;
    sampler.Initialise64();
    std::ofstream(stat, std::ios::binary | std::ios::trunc) << second;
    const std::int32_t load = sampler.Query64();
    if (load != -1 && (load < 0 || load > 100)) std::abort();
    return 0;
}
