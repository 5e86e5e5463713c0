// The "dd-mmm-yy hh:mm:ss" parser on any text: a date it accepts is written back to a text
// that parses to the same date.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/dates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parsed = ParseDateTime(text);
    if (!parsed) return 0;
    const auto again = ParseDateTime(FormatDateTime(*parsed));
    if (!again || !(*again == *parsed)) std::abort();
    return 0;
}
