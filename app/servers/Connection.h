#pragma once
// One client's TCP connection, bounded both ways: answers go back in the
// order their requests came, whenever each is ready; a client that sends
// faster than it is answered is read no further until it is; one that does
// not read its answers is cut off. Nothing a client does can hold up the
// others or grow without bound.

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace gateway {

// Answers not yet taken by a client beyond this: it is cut off.
inline constexpr std::int64_t kUnreadLimit = 64 * 1024LL;
// Requests waiting for their answers beyond this: the client is not read.
inline constexpr std::size_t kWaitingLimit = 16;

// The connections waiting at a server, each taken while fewer than `most`
// are open; one beyond is refused (told why first, as the server pleases)
// and closed at once.
void acceptUpTo(QTcpServer& server, std::size_t most, const std::function<std::size_t()>& open,
                const std::function<void(QTcpSocket*, const std::string& why)>& refuse,
                const std::function<void(QTcpSocket*)>& take);

// The clients of a server that is going, closed without a word: the last
// signals of their sockets must not reach the parts that are going too.
void closeQuietly(QObject& server);

class Connection : public QObject {
  public:
    explicit Connection(QTcpSocket* socket);
    // Bytes from the client, handed on while fewer than kWaitingLimit
    // answers wait.
    void onHeard(std::function<void(const std::string& bytes)> heard) { heard_ = std::move(heard); }
    // The connection is over, by either side; told once.
    void onClosed(std::function<void(const std::string& why)> closed) {
        closed_ = std::move(closed);
    }

    std::string peer() const { return peer_; }
    // A place in the order of answers; fill it when the answer is ready.
    using Place = std::uint64_t;
    Place reserve();
    void fill(Place place, const std::string& bytes);
    // Said at once, after what is already said.
    void say(const std::string& bytes);
    // Said without a place, before anything still waiting: data nobody asked for.
    void interject(const std::string& bytes);
    // What is said goes out, then the connection closes.
    void finish(const std::string& why);
    void cut(const std::string& why);

  private:
    void readSome();
    void flush();
    void write(const std::string& bytes);

    QPointer<QTcpSocket> socket_;
    std::function<void(const std::string&)> heard_;
    std::function<void(const std::string&)> closed_;
    std::string peer_;
    Place next_ = 0;                                  // the next place to give
    Place first_ = 0;                                 // the place of waiting_'s front
    std::deque<std::optional<std::string>> waiting_;  // answers in order, those not ready empty
    bool over_ = false;
};

}  // namespace gateway
