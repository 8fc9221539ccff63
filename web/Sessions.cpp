#include "web/Sessions.h"

#include <algorithm>
#include <utility>

namespace web {

Sessions::Sessions(Now now, Random random) : now_(std::move(now)), random_(std::move(random)) {}

std::string Sessions::open() {
    const std::int64_t now = now_();
    std::erase_if(sessions_, [&](const auto& each) { return now - each.second > kSessionMs; });
    if (sessions_.size() >= kMostSessions) {
        sessions_.erase(
            std::min_element(sessions_.begin(), sessions_.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; }));
    }
    std::string id = random_();
    sessions_[id] = now;
    return id;
}

bool Sessions::valid(const std::string& id) {
    const auto session = sessions_.find(id);
    if (session == sessions_.end()) return false;
    if (now_() - session->second > kSessionMs) {
        sessions_.erase(session);
        return false;
    }
    session->second = now_();
    return true;
}

std::int64_t Throttle::wrong(const std::string& host) {
    const std::int64_t now = now_();
    std::erase_if(hosts_,
                  [&](const auto& each) { return now - each.second.last > kThrottleForgetMs; });
    if (hosts_.size() >= kMostThrottled && !hosts_.contains(host)) return 16'000;
    Host& known = hosts_[host];
    known.wrong = std::min(known.wrong + 1, 5);
    known.last = now;
    return 1000LL << (known.wrong - 1);
}

}  // namespace web
