#include "toolkit/SerialSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
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

using Parity = SerialSettings::Parity;
using StopBits = SerialSettings::StopBits;

struct ParityRow {
    Parity parity;
    char letter;
    unsigned char rfc2217;
};
constexpr std::array<ParityRow, 5> kParities{{
    {Parity::None, 'N', 1},
    {Parity::Odd, 'O', 2},
    {Parity::Even, 'E', 3},
    {Parity::Mark, 'M', 4},
    {Parity::Space, 'S', 5},
}};

struct StopRow {
    StopBits stopBits;
    std::string_view text;
    unsigned char rfc2217;
};
constexpr std::array<StopRow, 3> kStopBits{{
    {StopBits::One, "1", 1},
    {StopBits::Two, "2", 2},
    {StopBits::OneAndHalf, "1.5", 3},
}};

template <typename Row, std::size_t N, typename Match>
const Row* find(const std::array<Row, N>& rows, Match match) {
    const auto found = std::find_if(rows.begin(), rows.end(), match);
    return found == rows.end() ? nullptr : &*found;
}

const ParityRow& rowOf(Parity parity) {
    return *find(kParities, [&](const ParityRow& row) { return row.parity == parity; });
}

const StopRow& rowOf(StopBits stopBits) {
    return *find(kStopBits, [&](const StopRow& row) { return row.stopBits == stopBits; });
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

    const ParityRow* parity =
        fields[1].size() != 1
            ? nullptr
            : find(kParities, [&](const ParityRow& row) { return row.letter == fields[1][0]; });
    if (!parity) return std::nullopt;
    settings.parity = parity->parity;

    const auto dataBits = wholeNumber(fields[2]);
    if (!dataBits || *dataBits < 5 || *dataBits > 8) return std::nullopt;
    settings.dataBits = *dataBits;

    const StopRow* stop =
        find(kStopBits, [&](const StopRow& row) { return row.text == fields[3]; });
    if (!stop) return std::nullopt;
    settings.stopBits = stop->stopBits;
    return settings;
}

std::string settingsText(const SerialSettings& settings) {
    return std::to_string(settings.baud) + "," + rowOf(settings.parity).letter + "," +
           std::to_string(settings.dataBits) + "," + std::string(rowOf(settings.stopBits).text);
}

unsigned char rfc2217Code(Parity parity) {
    return rowOf(parity).rfc2217;
}

unsigned char rfc2217Code(StopBits stopBits) {
    return rowOf(stopBits).rfc2217;
}

std::optional<Parity> parityOfRfc2217(unsigned char code) {
    const auto* row = find(kParities, [&](const ParityRow& r) { return r.rfc2217 == code; });
    return row ? std::optional(row->parity) : std::nullopt;
}

std::optional<StopBits> stopBitsOfRfc2217(unsigned char code) {
    const auto* row = find(kStopBits, [&](const StopRow& r) { return r.rfc2217 == code; });
    return row ? std::optional(row->stopBits) : std::nullopt;
}

}  // namespace toolkit
