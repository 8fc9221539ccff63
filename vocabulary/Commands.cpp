#include "vocabulary/Commands.h"

#include <array>

namespace projector {

namespace {

constexpr int kPicture = kPictureModeReplyMs;
constexpr int kSignal = kSignalTypeReplyMs;

// The held buttons' pace is the window's: Timer1's preset for each, the
// arrows at Timer1's design interval.
// clang-format off
constexpr std::array kCatalogue = std::to_array<Command>({
    {"power-on",           "C00", "Power on"},
    {"power-off",          "C01", "Power off"},
    {"input-pc1",          "C05", "Input: PC1"},
    {"input-pc2",          "C06", "Input: PC2"},
    {"input-video",        "C07", "Input: Video"},
    {"signal-wired",       "C81", "Input signal: wired"},
    {"signal-wireless",    "C82", "Input signal: wireless"},
    {"mute-on",            "C0B", "Sound mute on"},
    {"mute-off",           "C0C", "Sound mute off"},
    {"no-show-on",         "C0D", "No show on: the picture is blanked"},
    {"no-show-off",        "C0E", "No show off"},
    {"freeze-on",          "C43", "Freeze on"},
    {"freeze-off",         "C44", "Freeze off"},
    {"menu-on",            "C1C", "Menu on: the arrows then move in the menu"},
    {"menu-off",           "C1D", "Menu off"},
    {"size-regular",       "C0F", "AV size: regular"},
    {"size-wide",          "C10", "AV size: wide"},
    {"auto-image",         "C89", "Automatic image adjustment"},
    {"image",              "C27", "Image adjustment"},
    {"presentation-timer", "C8A", "Presentation timer"},
    {"display-clear",      "C1E", "Display clear"},
    {"key-lock-none",      "CF KEYDIS NONE", "Remote-control key lock: none"},
    {"key-lock-remote",    "CF KEYDIS RC",   "Remote-control key lock: the remote control's keys"},
    {"key-lock-keys",      "CF KEYDIS KEY",  "Remote-control key lock: the projector's keys"},
    {"picture-standard",   "C11", "Picture mode: standard", kPicture},
    {"picture-real",       "C12", "Picture mode: real", kPicture},
    {"picture-cinema",     "C13", "Picture mode: cinema", kPicture},
    {"picture-image1",     "C14", "Picture mode: image 1", kPicture},
    {"picture-image2",     "C15", "Picture mode: image 2", kPicture},
    {"picture-image3",     "C16", "Picture mode: image 3", kPicture},
    {"picture-image4",     "C17", "Picture mode: image 4", kPicture},
    {"picture-blackboard", "C18", "Picture mode: blackboard", kPicture},
    {"picture-dynamic",    "C19", "Picture mode: dynamic", kPicture},
    {"power-state",        "CR0", "Ask for the power state"},
    {"lamp-time",          "CR3", "Ask for the lamp hours"},
    {"temperatures",       "CR6", "Ask for the temperatures"},
    {"input-mode",         "CR1", "Ask for the input in use"},
    {"image-reversal",     "CR4", "Ask for the image reversal"},
    {"lamp-mode",          "CR7", "Ask for the lamp mode"},
    {"pc1-rgb",            "C50", "PC1: RGB signal", kSignal},
    {"pc1-dvi-pc",         "C52", "PC1: DVI signal from a computer", kSignal},
    {"pc1-dvi-av",         "C53", "PC1: DVI signal from AV equipment, HDCP", kSignal},
    {"pc2-rgb",            "C25", "PC2: RGB signal", kSignal},
    {"pc2-component",      "C24", "PC2: component signal", kSignal},
    {"pc2-scart",          "C26", "PC2: SCART signal", kSignal},
    {"video-auto",         "C32", "Video: signal type found automatically", kSignal},
    {"video-composite",    "C33", "Video: composite video signal", kSignal},
    {"video-s-video",      "C34", "Video: S-Video signal", kSignal},
    {"volume-up",          "C09", "Volume up", kReplyMs, false, 250},
    {"volume-down",        "C0A", "Volume down", kReplyMs, false, 250},
    {"brightness-up",      "C20", "Brightness up", kReplyMs, false, 50},
    {"brightness-down",    "C21", "Brightness down", kReplyMs, false, 50},
    {"zoom-in",            "C30", "Digital zoom in", kReplyMs, false, 250},
    {"zoom-out",           "C31", "Digital zoom out", kReplyMs, false, 250},
    {"keystone-up",        "C8E", "Keystone up", kReplyMs, false, 250},
    {"keystone-down",      "C8F", "Keystone down", kReplyMs, false, 250},
    {"cursor-up",          "C3C", "Cursor up", kReplyMs, false, 200},
    {"cursor-down",        "C3D", "Cursor down", kReplyMs, false, 200},
    {"cursor-left",        "C3B", "Cursor left", kReplyMs, false, 200},
    {"cursor-right",       "C3A", "Cursor right", kReplyMs, false, 200},
    {"cursor-select",      "C3F", "Cursor select", kReplyMs, false, 500},
    {"mute-state",         "CRA", "Ask for the picture and sound mutes", kReplyMs, true},
    {"software-version",   "CR9", "Ask for the projector's software version", kReplyMs, true},
    {"pressure",           "CR PRESSURE", "Ask for the air pressure", kReplyMs, true},
});
// clang-format on

}  // namespace

std::span<const Command> commandCatalogue() {
    return kCatalogue;
}

const Command* commandNamed(std::string_view name) {
    for (const Command& command : kCatalogue) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

std::string_view codeOf(std::string_view name) {
    const Command* command = commandNamed(name);
    return command ? command->code : std::string_view();
}

const Command* commandOfCode(std::string_view code) {
    for (const Command& command : kCatalogue) {
        if (command.code == code) return &command;
    }
    return nullptr;
}

Changes changesOf(std::string_view code) {
    const Command* command = commandOfCode(code);
    if (!command) return Changes::Nothing;
    const std::string_view name = command->name;
    if (name == "power-on" || name == "power-off") return Changes::Power;
    if (name == "input-pc1" || name == "input-pc2" || name == "input-video") return Changes::Input;
    if (name.starts_with("mute-o") || name.starts_with("no-show-")) return Changes::Mutes;
    return Changes::Nothing;
}

int replyMsOf(std::string_view code) {
    for (const Command& command : kCatalogue) {
        if (command.code == code) return command.replyMs;
    }
    return kReplyMs;
}

}  // namespace projector
