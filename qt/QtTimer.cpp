#include "qt/QtTimer.h"

#include "qt/Text.h"

namespace toolkit::qt {

QtTimer::QtTimer(QObject* parent, std::string_view name, int interval) : timer_(parent) {
    timer_.setObjectName(qs(name));
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(interval);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (handler_) handler_();
    });
}

// Enabling a running timer leaves its countdown running.
void QtTimer::setEnabled(bool enabled) {
    if (!enabled) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

}  // namespace toolkit::qt
