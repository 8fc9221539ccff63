#pragma once
// Direct command entry: "SEND" transmits the text typed in Text1 as a
// command line, "CLS" empties the box.

#include <string>

#include "link/Link.h"
#include "toolkit/Controls.h"

namespace panel {

class DirectEntry {
  public:
    DirectEntry(projector::Link& link, toolkit::TextBox& Text1);

    void Command95_Click();  // "SEND"
    void Command96_Click();  // "CLS"

  private:
    projector::Link& link_;
    toolkit::TextBox& Text1;
    std::string TypedCommand;  // UTF-8, as typed
};

}  // namespace panel
