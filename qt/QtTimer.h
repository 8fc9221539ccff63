#pragma once
// A timer of the toolkit on QTimer: precise, on the event thread.

#include <QObject>
#include <QTimer>
#include <string_view>

#include "toolkit/Controls.h"

namespace toolkit::qt {

class QtTimer : public Timer {
  public:
    // The QTimer is a child of parent (the window, or nothing), under the
    // timer's design name.
    QtTimer(QObject* parent, std::string_view name, int interval);
    void setInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return timer_.isActive(); }
    void onTimer(Handler handler) override { handler_ = std::move(handler); }

  private:
    QTimer timer_;
    Handler handler_;
};

}  // namespace toolkit::qt
