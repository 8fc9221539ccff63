#pragma once
// Serial settings: the text such as "19200,N,8,1", and RFC 2217's codes,
// from one table.

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
// The text that reads as these settings: "9600,N,8,1".
std::string settingsText(const SerialSettings& settings);

// The codes RFC 2217 gives parity and stop bits on the wire, both ways;
// nothing for a code it does not define.
unsigned char rfc2217Code(SerialSettings::Parity parity);
unsigned char rfc2217Code(SerialSettings::StopBits stopBits);
std::optional<SerialSettings::Parity> parityOfRfc2217(unsigned char code);
std::optional<SerialSettings::StopBits> stopBitsOfRfc2217(unsigned char code);

}  // namespace toolkit
