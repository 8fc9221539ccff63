// Direct command entry ("SEND", "CLS") and the data-display toggle.

#include "panel/DirectEntry.h"

#include "panel/CommandButtons.h"
#include "panel/Form1.h"

namespace panel {

std::string wireBytesOf(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC0 ? 2
                                            : 0;
        if (length == 0 || i + length > utf8.size()) {
            bytes += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool wellFormed = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            wellFormed = wellFormed && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return bytes;
}

// "SEND"
void Form1::Command95_Click() {
    applyPreset(kPictureModePreset);
    TypedCommand = Text1.text();
    link_.sendCode(wireBytesOf(TypedCommand));
}

// "CLS"
void Form1::Command96_Click() {
    Text1.setText("");
}

// The data-display toggle; the current height alone decides.
void Form1::Command34_Click() {
    constexpr int kTall = 6000;
    Timer3.setEnabled(false);
    ExpandFlag = 0;
    if (static_cast<float>(window_.height()) >= kTall) {
        window_.setHeight(kHeightStart);
        Command34.setCaption("データを表示する");
    } else {
        window_.setHeight(kHeightData);
        Command34.setCaption("データを表示しない");
    }
    Timer3.setEnabled(true);
}

}  // namespace panel
