#pragma once
// The warning boxes of the window: every failure of the link, and whatever
// else a part of the window has to tell the operator, one modal box each. A
// loss's box goes by itself when the device is back.

#include <functional>
#include <string>

#include "link/LinkListener.h"
#include "toolkit/Controls.h"

namespace panel {

class WarningBoxes : public projector::LinkListener {
  public:
    explicit WarningBoxes(toolkit::MessageBox& box);

    void warn(const std::string& text);
    // Told each box's text as it is shown.
    void onShown(std::function<void(const std::string&)> observer);

    void sendFailed(const std::string& line, const toolkit::Fault& fault) override;
    void portEvent(const projector::PortEvent& event) override;

  private:
    toolkit::MessageBox& box_;
    std::function<void(const std::string&)> shown_;
    std::string lossShown_;  // the text of the box about the device lost now
};

}  // namespace panel
