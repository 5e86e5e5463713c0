// Feeds arbitrary bytes, split into lines as the file reader splits them, to the
// configuration parser and the text predicates. A record that loads cleanly must also
// survive a save and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/numbers.h"
#include "base/text.h"
#include "config/config_reader.h"
#include "config/config_validation.h"
#include "config/config_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto lines = SplitLines(text);
    for (const auto& line : lines) {
        IsIPAddress(line);
        IsTimeText(line);
        (void)RoundHalfEven(NumberAtStart(line));
    }
    if (size >= 4) {
        // Any 16-bit value a record can hold.
        const auto n =
            static_cast<std::int16_t>(static_cast<std::uint16_t>(data[0] << 8 | data[1]));
        (void)TimeText(n);
    }

    const auto read = ParseConfiguration(lines, Configuration{});
    if (read.readError || read.keyCount != 0 || read.sectionCount != 0) return 0;
    if (!FailedLoadRules(read.config, "/nonexistent").empty()) return 0;

    const std::string saved = BuildConfigurationText(FieldsFromConfiguration(read.config),
                                                     read.config, LocalTime{2026, 1, 2, 3, 4, 5});
    const auto again = ParseConfiguration(SplitLines(saved), Configuration{});
    if (again.readError || again.keyCount != 0 || again.sectionCount != 0 ||
        !(again.config == read.config)) {
        std::abort();
    }
    return 0;
}
