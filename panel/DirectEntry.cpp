#include "panel/DirectEntry.h"

#include "panel/Pacing.h"
#include "vocabulary/WireBytes.h"

namespace panel {

DirectEntry::DirectEntry(projector::Link& link, toolkit::TextBox& Text1)
    : link_(link), Text1(Text1) {}

void DirectEntry::Command95_Click() {
    pace(link_, kPictureModePreset);
    TypedCommand = Text1.text();
    link_.send(projector::wireBytesOf(TypedCommand));
}

void DirectEntry::Command96_Click() {
    Text1.setText("");
}

}  // namespace panel
