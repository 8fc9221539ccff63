#include "toolkit/SerialSettings.h"

#include <charconv>
#include <vector>

namespace toolkit {

namespace {

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::optional<int> wholeNumber(const std::string& field) {
    int value = 0;
    const char* end = field.data() + field.size();
    auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<SerialSettings> readSerialSettings(const std::string& text) {
    const auto fields = splitAtCommas(text);
    if (fields.size() != 4) return std::nullopt;

    SerialSettings settings;
    const auto baud = wholeNumber(fields[0]);
    if (!baud || *baud <= 0) return std::nullopt;
    settings.baud = *baud;

    if (fields[1].size() != 1) return std::nullopt;
    switch (fields[1][0]) {
        case 'N':
            settings.parity = SerialSettings::Parity::None;
            break;
        case 'E':
            settings.parity = SerialSettings::Parity::Even;
            break;
        case 'O':
            settings.parity = SerialSettings::Parity::Odd;
            break;
        case 'M':
            settings.parity = SerialSettings::Parity::Mark;
            break;
        case 'S':
            settings.parity = SerialSettings::Parity::Space;
            break;
        default:
            return std::nullopt;
    }

    const auto dataBits = wholeNumber(fields[2]);
    if (!dataBits || *dataBits < 5 || *dataBits > 8) return std::nullopt;
    settings.dataBits = *dataBits;

    if (fields[3] == "1") {
        settings.stopBits = SerialSettings::StopBits::One;
    } else if (fields[3] == "1.5") {
        settings.stopBits = SerialSettings::StopBits::OneAndHalf;
    } else if (fields[3] == "2") {
        settings.stopBits = SerialSettings::StopBits::Two;
    } else {
        return std::nullopt;
    }
    return settings;
}

}  // namespace toolkit
