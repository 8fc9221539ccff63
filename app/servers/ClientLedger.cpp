#include "app/servers/ClientLedger.h"

#include <utility>

namespace gateway {

namespace {

std::string lasting(std::int64_t ms) {
    const std::int64_t seconds = (ms + 500) / 1000;
    if (seconds < 120) return std::to_string(seconds) + " s";
    return std::to_string((seconds + 30) / 60) + " min";
}

std::string counted(std::int64_t count, const char* one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

}  // namespace

ClientLedger::ClientLedger(std::string kind, Now now, Say say)
    : kind_(std::move(kind)), now_(std::move(now)), say_(std::move(say)) {}

ClientLedger::Host* ClientLedger::hostOf(const std::string& host) {
    if (const auto known = hosts_.find(host); known != hosts_.end()) return &known->second;
    if (hosts_.size() >= kMostHosts) return nullptr;
    Host& fresh = hosts_[host];
    fresh.periodFrom = fresh.lastHeard = fresh.secondFrom = now_();
    say_(kind_ + " " + host +
         " NEW CLIENT: its requests are summed up every 10 min while it "
         "is active");
    return &fresh;
}

void ClientLedger::connected(const std::string& host) {
    if (Host* known = hostOf(host)) {
        ++known->connections;
        known->lastHeard = now_();
    }
}

void ClientLedger::request(const std::string& host) {
    Host* known = hostOf(host);
    if (!known) return;
    const std::int64_t now = now_();
    ++known->requests;
    known->lastHeard = now;
    if (known->flooding) {
        ++known->floodRequests;
        return;
    }
    if (now - known->secondFrom >= 1000) {
        known->secondFrom = now;
        known->inSecond = 0;
    }
    if (++known->inSecond > kFloodPerSecond) {
        known->flooding = true;
        known->floodFrom = known->secondFrom;
        known->floodRequests = known->inSecond;
        say_(kind_ + " " + host + " FLOOD: more than " + std::to_string(kFloodPerSecond) +
             " requests a second; each is answered, none logged, until it ends");
    }
}

void ClientLedger::refused(const std::string& host, const std::string& why) {
    Host* known = hostOf(host);
    const std::int64_t now = now_();
    if (known) {
        known->lastHeard = now;
        auto [refusal, first] = known->refusals.try_emplace(why);
        if (!first && now - refusal->second.saidAt < kRefusalRepeatMs) {
            ++refusal->second.since;
            return;
        }
        const int since = std::exchange(refusal->second.since, 0);
        refusal->second.saidAt = now;
        say_(kind_ + " " + host + " REFUSED: " + why +
             (since > 0 ? " (and " + counted(since, "time") + " more since the last line)" : ""));
        return;
    }
    say_(kind_ + " " + host + " REFUSED: " + why);
}

void ClientLedger::summarise(const std::string& name, Host& host, std::int64_t now) {
    if (host.requests > 0 || host.connections > 0) {
        say_(kind_ + " " + name + ": " + counted(host.requests, "request") + " on " +
             counted(host.connections, "connection") + " in the last " +
             lasting(now - host.periodFrom));
    }
    host.periodFrom = now;
    host.requests = 0;
    host.connections = 0;
}

void ClientLedger::tick() {
    const std::int64_t now = now_();
    for (auto each = hosts_.begin(); each != hosts_.end();) {
        Host& host = each->second;
        if (host.flooding && now - host.lastHeard >= 1000) {
            host.flooding = false;
            host.inSecond = 0;
            say_(kind_ + " " + each->first +
                 " FLOOD OVER: " + counted(host.floodRequests, "request") + " in " +
                 lasting(host.lastHeard - host.floodFrom));
        }
        if (now - host.periodFrom >= kSummaryMs) {
            const bool quiet = host.requests == 0 && host.connections == 0;
            summarise(each->first, host, now);
            // A host heard of no more for a whole period is forgotten.
            if (quiet && now - host.lastHeard >= kSummaryMs && !host.flooding) {
                each = hosts_.erase(each);
                continue;
            }
        }
        ++each;
    }
}

}  // namespace gateway
