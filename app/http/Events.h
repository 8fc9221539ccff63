#pragma once
// The page's live stream (Server-Sent Events): the state as one JSON object
// when it changes, at once when the stream opens, a heartbeat every 15 s.
// Each stream has an id the page holds a button under: a stream that goes
// lets go of its hold. While any stream is open the projector is watched.

#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "app/http/Call.h"
#include "link/ProjectorState.h"

namespace gateway {

inline constexpr std::size_t kMostStreams = 200;

class Events : public QObject {
  public:
    using Status = std::function<QByteArray()>;  // the state, as JSON
    using Gone = std::function<void(const std::string& stream)>;

    Events(projector::ProjectorState& state, Status status, Gone gone);
    ~Events() override;

    // Answers the call with a stream; false when too many are open.
    bool open(const Call& call);
    std::size_t streams() const { return streams_.size(); }

  private:
    void pushSoon();
    void push(const QByteArray& event);

    projector::ProjectorState& state_;
    Status status_;
    Gone gone_;
    std::map<std::string, QPointer<QTcpSocket>> streams_;
    QTimer soon_;       // changes that come together are sent together
    QTimer heartbeat_;  // keeps proxies and the idle bound from closing a stream
    std::uint64_t next_ = 0;
};

}  // namespace gateway
