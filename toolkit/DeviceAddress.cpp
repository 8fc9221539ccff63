#include "toolkit/DeviceAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace toolkit {

namespace {

constexpr std::string_view kSeparator = "://";

bool isHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool isIpv6Character(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

AddressReading refused(AddressProblem problem, std::string_view part = {}) {
    return {std::nullopt, problem, std::string(part)};
}

}  // namespace

bool isNetworkDevice(std::string_view device) {
    return device.find(kSeparator) != std::string_view::npos;
}

AddressReading readAddress(std::string_view text) {
    const auto separator = text.find(kSeparator);
    if (separator == std::string_view::npos) return refused(AddressProblem::NoScheme);
    std::string scheme(text.substr(0, separator));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    NetworkAddress address;
    if (scheme == "tcp" || scheme == "socket") {
        address.protocol = NetworkAddress::Protocol::Raw;
    } else if (scheme == "rfc2217") {
        address.protocol = NetworkAddress::Protocol::Rfc2217;
    } else {
        return refused(AddressProblem::UnknownScheme, scheme);
    }

    std::string_view rest = text.substr(separator + kSeparator.size());
    std::string_view port;
    if (rest.starts_with('[')) {
        const auto close = rest.find(']');
        if (close == std::string_view::npos) return refused(AddressProblem::NoClosingBracket);
        address.host = rest.substr(1, close - 1);
        if (address.host.empty() || address.host.find(':') == std::string::npos ||
            !std::all_of(address.host.begin(), address.host.end(), isIpv6Character)) {
            return refused(AddressProblem::BadIpv6);
        }
        rest.remove_prefix(close + 1);
        if (!rest.starts_with(':')) return refused(AddressProblem::NoPort);
        port = rest.substr(1);
    } else {
        const auto colon = rest.rfind(':');
        if (colon == std::string_view::npos) return refused(AddressProblem::NoPort);
        address.host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (address.host.empty()) return refused(AddressProblem::NoHost);
        if (!std::all_of(address.host.begin(), address.host.end(), isHostCharacter)) {
            return refused(AddressProblem::BadHost);
        }
    }
    if (port.empty()) return refused(AddressProblem::NoPort);
    const char* end = port.data() + port.size();
    const auto [stop, error] = std::from_chars(port.data(), end, address.port);
    const bool tooLarge = error == std::errc::result_out_of_range && stop == end;
    if (!tooLarge && (error != std::errc() || stop != end)) {
        return refused(AddressProblem::PortNotNumber, port);
    }
    if (tooLarge || address.port < 1 || address.port > 65535) {
        return refused(AddressProblem::PortOutOfRange, port);
    }
    return {address, AddressProblem::None, {}};
}

std::optional<Fault> addressFault(const std::string& device) {
    if (!isNetworkDevice(device)) return std::nullopt;
    AddressReading reading = readAddress(device);
    if (reading.address) return std::nullopt;
    Fault fault = faultOf(Fault::Kind::BadAddress, device, std::move(reading.part));
    fault.address = reading.problem;
    return fault;
}

}  // namespace toolkit
