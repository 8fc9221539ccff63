#pragma once
// The page's sessions after a login: a random id in an HttpOnly cookie,
// good for hours while used, bounded in number. And the slowing of wrong
// passwords, by the host they come from: each wrong one answered later than
// the last, whatever connection it comes on.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace web {

inline constexpr std::int64_t kSessionMs = 12LL * 60 * 60 * 1000;
inline constexpr std::size_t kMostSessions = 256;

class Sessions {
  public:
    using Now = std::function<std::int64_t()>;
    using Random = std::function<std::string()>;  // 32 hexadecimal digits, fresh each time

    Sessions(Now now, Random random);
    // A new session's id; the oldest goes when there are too many.
    std::string open();
    // Whether the id is a session's, which it keeps alive.
    bool valid(const std::string& id);
    void close(const std::string& id) { sessions_.erase(id); }
    // A new password ends every session.
    void closeAll() { sessions_.clear(); }

  private:
    Now now_;
    Random random_;
    std::map<std::string, std::int64_t> sessions_;  // id -> last used
};

// Wrong passwords from one host: the first answered after 1 s, each next
// twice as late, up to 16 s; forgotten 10 minutes after the last.
inline constexpr std::int64_t kThrottleForgetMs = 10LL * 60 * 1000;
inline constexpr std::size_t kMostThrottled = 1024;

class Throttle {
  public:
    using Now = std::function<std::int64_t()>;
    explicit Throttle(Now now) : now_(std::move(now)) {}
    // How long to hold back the answer to this wrong password.
    std::int64_t wrong(const std::string& host);
    void right(const std::string& host) { hosts_.erase(host); }

  private:
    struct Host {
        int wrong = 0;
        std::int64_t last = 0;
    };
    Now now_;
    std::map<std::string, Host> hosts_;
};

}  // namespace web
