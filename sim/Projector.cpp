#include "sim/Projector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace sim {

namespace {

// Hours the simulated lamp gains per real second while lit, so that the lamp
// time visibly advances in a demonstration.
constexpr std::int64_t kLampMsPerHour = 10'000;

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

}  // namespace

void Projector::settle(std::int64_t nowMs) {
    if (power_ == Power::WarmingUp && nowMs - since_ >= times_.warmUpMs) {
        lampMs_ += times_.warmUpMs;
        power_ = Power::On;
        since_ += times_.warmUpMs;
    } else if (power_ == Power::CoolingDown && nowMs - since_ >= times_.coolDownMs) {
        power_ = Power::StandBy;
        since_ += times_.coolDownMs;
    }
}

Power Projector::power(std::int64_t nowMs) {
    settle(nowMs);
    return power_;
}

std::int64_t Projector::lampHours(std::int64_t nowMs) {
    settle(nowMs);
    std::int64_t lit = lampMs_;
    if (power_ == Power::On || power_ == Power::WarmingUp) lit += nowMs - since_;
    return lampHoursAtStart_ + lit / kLampMsPerHour;
}

std::string Projector::status(std::int64_t nowMs) {
    switch (power(nowMs)) {
        case Power::StandBy:
            return "80";
        case Power::WarmingUp:
            return "40";
        case Power::CoolingDown:
            return "20";
        case Power::On:
            break;
    }
    return "00";
}

// Three sensors, warmer while the lamp is lit, drifting slowly.
std::string Projector::temperatures(std::int64_t nowMs) {
    const bool lit = power(nowMs) != Power::StandBy;
    const double t = static_cast<double>(nowMs) / 1000.0;
    const double s1 = (lit ? 38.0 : 25.0) + 1.5 * std::sin(t / 7.0);
    const double s2 = (lit ? 45.0 : 26.0) + 1.0 * std::sin(t / 5.0 + 1.0);
    const double s3 = (lit ? 33.0 : 24.0) + 0.8 * std::sin(t / 11.0 + 2.0);
    // Columns 1-5, 8-11 and 13-17 carry the three readings.
    char text[32];
    std::snprintf(text, sizeof text, "%05.1f  %04.1f %05.1f", s1, s2, s3);
    return text;
}

// The number of an action code: "C" and two hexadecimal digits.
std::optional<int> actionNumber(std::string_view code) {
    if (code.size() != 3 || code[0] != 'C') return std::nullopt;
    const auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    const int high = digit(code[1]), low = digit(code[2]);
    if (high < 0 || low < 0) return std::nullopt;
    return high * 16 + low;
}

bool Projector::act(std::string_view code, std::int64_t nowMs) {
    settle(nowMs);
    if (code.starts_with("CF KEYDIS ")) {
        const std::string_view word = code.substr(10);
        if (word != "NONE" && word != "RC" && word != "KEY") return false;
        keyLock_ = word;
        return true;
    }
    const auto number = actionNumber(code);
    if (!number) return false;
    const int n = *number;

    struct Switch {
        int on, off;
        bool Projector::*flag;
    };
    static constexpr std::array kSwitches{
        Switch{0x0B, 0x0C, &Projector::soundMuted_}, Switch{0x0D, 0x0E, &Projector::noShow_},
        Switch{0x43, 0x44, &Projector::frozen_},     Switch{0x1C, 0x1D, &Projector::menuShown_},
        Switch{0x10, 0x0F, &Projector::wide_},       Switch{0x82, 0x81, &Projector::wireless_},
    };
    for (const Switch& s : kSwitches) {
        if (n == s.on || n == s.off) {
            this->*s.flag = n == s.on;
            return true;
        }
    }
    // Signal types, per input: PC1, PC2, Video.
    struct Range {
        int first, last;
    };
    static constexpr std::array kSignalTypes{Range{0x50, 0x53}, Range{0x24, 0x26},
                                             Range{0x32, 0x34}};
    for (std::size_t input = 0; input < kSignalTypes.size(); ++input) {
        if (n >= kSignalTypes[input].first && n <= kSignalTypes[input].last && n != 0x51) {
            signalType_[input] = n;
            return true;
        }
    }
    if (n == 0x00) {
        if (power_ == Power::StandBy) {
            power_ = Power::WarmingUp;
            since_ = nowMs;
        }
    } else if (n == 0x01) {
        if (power_ == Power::On || power_ == Power::WarmingUp) {
            lampMs_ += nowMs - since_;
            power_ = Power::CoolingDown;
            since_ = nowMs;
        }
    } else if (n >= 0x05 && n <= 0x07) {
        input_ = n - 4;
    } else if (n >= 0x11 && n <= 0x19) {
        pictureMode_ = n;
    } else {
        // Keys, adjusters and one-shot actions: acknowledged, nothing kept.
        static constexpr std::array kOthers{0x09, 0x0A, 0x20, 0x21, 0x30, 0x31, 0x8E, 0x8F, 0x3A,
                                            0x3B, 0x3C, 0x3D, 0x3F, 0x89, 0x27, 0x8A, 0x1E};
        return std::find(kOthers.begin(), kOthers.end(), n) != kOthers.end();
    }
    return true;
}

std::optional<std::string> Projector::answer(std::string_view line, std::int64_t nowMs) {
    const bool lit = power(nowMs) == Power::On;
    if (line == "CR0") return status(nowMs) + '\r';
    if (line == "CR1") return std::to_string(input_) + '\r';
    if (line == "CR3") {
        char hours[16];
        std::snprintf(hours, sizeof hours, "%05lld", static_cast<long long>(lampHours(nowMs)));
        return std::string(hours) + '\r';
    }
    if (line == "CR4") return "11\r";
    if (line == "CR6") return temperatures(nowMs) + '\r';
    if (line == "CR7") return std::string(lit ? "01" : "00") + '\r';
    if (line == "CRA") {
        if (power_ == Power::StandBy) return "FF\r";
        return twoDigits((noShow_ ? 1 : 0) | (soundMuted_ ? 2 : 0)) + '\r';
    }
    if (line == "CR9") return "KR60P Ver1.40\r";
    if (line == "CR PRESSURE") {
        const double t = static_cast<double>(nowMs) / 1000.0;
        return std::to_string(853 + static_cast<int>(std::lround(3.0 * std::sin(t / 13.0)))) + '\r';
    }
    if (act(line, nowMs)) return std::string(1, kAck);
    return std::nullopt;
}

}  // namespace sim
