#pragma once
// Reading of serial settings text such as "19200,N,8,1".

#include <optional>
#include <string>

namespace toolkit {

struct SerialSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };
    int baud = 0;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Speed, parity letter (N, E, O, M, S), data bits (5 to 8) and stop bits
// (1, 1.5, 2), separated by commas. Anything else is unreadable.
std::optional<SerialSettings> readSerialSettings(const std::string& text);

}  // namespace toolkit
