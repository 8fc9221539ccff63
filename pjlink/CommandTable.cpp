#include "pjlink/CommandTable.h"

#include <array>

namespace pjlink {

namespace {

constexpr std::array<std::string_view, 3> kPower{"1", "0", "?"};
constexpr std::array<std::string_view, 4> kInput{"11", "12", "21", "?"};
constexpr std::array<std::string_view, 7> kMute{"10", "11", "20", "21", "30", "31", "?"};
constexpr std::array<std::string_view, 1> kQuery{"?"};
constexpr std::array<std::string_view, 3> kInputName{"?11", "?12", "?21"};
constexpr std::array<std::string_view, 2> kStep{"1", "0"};
constexpr std::array<std::string_view, 3> kSwitch{"1", "0", "?"};

// What the KR60P cannot tell is said as the standard has it for a projector
// without the item: no serial number, resolution or replacement model
// (empty), filter hours not counted (0). It has no microphone (MVOL).
// clang-format off
constexpr std::array kCommands = std::to_array<CommandRow>({
    {'1', "POWR", kPower,     Handling::Power},
    {'1', "INPT", kInput,     Handling::Input},
    {'1', "AVMT", kMute,      Handling::Mute},
    {'1', "ERST", kQuery,     Handling::Errors},
    {'1', "LAMP", kQuery,     Handling::Lamps},
    {'1', "INST", kQuery,     Handling::Inputs},
    {'1', "NAME", kQuery,     Handling::Name},
    {'1', "INF1", kQuery,     Handling::Maker},
    {'1', "INF2", kQuery,     Handling::Model},
    {'1', "INFO", kQuery,     Handling::Information},
    {'1', "CLSS", kQuery,     Handling::Fixed, "2"},
    {'2', "INPT", kInput,     Handling::Input},
    {'2', "INST", kQuery,     Handling::Inputs},
    {'2', "SNUM", kQuery,     Handling::Fixed, ""},
    {'2', "SVER", kQuery,     Handling::Version},
    {'2', "INNM", kInputName, Handling::InputName},
    {'2', "IRES", kQuery,     Handling::Resolution},
    {'2', "RRES", kQuery,     Handling::Fixed, ""},
    {'2', "FILT", kQuery,     Handling::Fixed, "0"},
    {'2', "RLMP", kQuery,     Handling::Fixed, ""},
    {'2', "RFIL", kQuery,     Handling::Fixed, ""},
    {'2', "SVOL", kStep,      Handling::Volume},
    {'2', "FREZ", kSwitch,    Handling::Freeze},
});
// clang-format on

}  // namespace

std::span<const CommandRow> commandTable() {
    return kCommands;
}

const CommandRow* commandRow(char version, std::string_view command) {
    for (const CommandRow& row : kCommands) {
        if (row.version == version && row.command == command) return &row;
    }
    return nullptr;
}

}  // namespace pjlink
