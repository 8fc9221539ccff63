// Any text: the number reading never fails, and the pressure line either
// fits or is refused with the pressure value untouched.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vocabulary/Decoder.h"
#include "vocabulary/NumberReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = projector::readNumber(text);
    if (std::isnan(value)) std::abort();
    const auto rounded = projector::roundToInt16(value);
    if (rounded && std::fabs(*rounded - value) > 0.5) std::abort();

    std::int16_t pressure = 4321;
    const auto line = projector::pressureLine(text, pressure);
    if (!line && pressure != 4321) std::abort();
    if (line && (*line != std::to_string(pressure) + " hPa")) std::abort();
    if (line && (!rounded || *rounded < -6553 || *rounded > 6553)) std::abort();
    return 0;
}
