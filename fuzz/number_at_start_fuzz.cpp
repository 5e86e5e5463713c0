// The number at the start of any text, and the conversions every stored number goes
// through: a result is a number or an infinity (too large for any field), never NaN; the
// range conversions accept only what fits; plain decimal text reads back to the same value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double n = NumberAtStart(text);
    if (std::isnan(n)) std::abort();
    const auto i16 = ToInt16(n);
    const auto i32 = ToInt32(n);
    if (i16 && (!i32 || *i16 != *i32)) std::abort();
    if (!std::isfinite(n) && i32) std::abort();
    if (i32 && NumberAtStart(NumberText(*i32)) != *i32) std::abort();
    (void)FormatFixed3(n);
    return 0;
}
