#pragma once
// kr60p-panel as main() runs it: the Qt toolkit, the traffic log listening to
// the link, and the window, wired together.

#include <cstdio>
#include <optional>

#include "app/Options.h"
#include "log/TrafficLog.h"
#include "panel/Form1.h"
#include "qt/QtToolkit.h"

namespace app {

class PanelProgram {
  public:
    // log: the traffic log's stream, or nothing. Throws panel::TableError
    // when the window cannot be built.
    PanelProgram(const Options& options, std::FILE* log);
    PanelProgram(const PanelProgram&) = delete;
    PanelProgram& operator=(const PanelProgram&) = delete;

    panel::Form1& form() { return *form_; }

  private:
    // Declared first, so destroyed last: the window lives in it.
    toolkit::qt::QtToolkit toolkit_;
    std::optional<trafficlog::TrafficLog> log_;
    std::optional<panel::Form1> form_;
};

}  // namespace app
