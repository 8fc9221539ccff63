#pragma once
// What the journal says of a server's clients: a line when a host first
// connects, a summary of its requests every ten minutes while it is active,
// a flood said once when it starts and once, with its count, when it ends,
// and each refusal with its reason (the same one from the same host at most
// once a minute, with how often it came meanwhile). The line for every
// request goes to the traffic detail instead, so that fifty pollers cost
// the journal a handful of lines and a flood cannot push out the lines that
// matter.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace gateway {

inline constexpr std::int64_t kSummaryMs = 10LL * 60 * 1000;
// Requests from one host within a second beyond which it floods.
inline constexpr int kFloodPerSecond = 50;
inline constexpr std::int64_t kRefusalRepeatMs = 60LL * 1000;
// Hosts kept at most; one more is not summed up.
inline constexpr std::size_t kMostHosts = 1024;

class ClientLedger {
  public:
    using Now = std::function<std::int64_t()>;
    using Say = std::function<void(const std::string& line)>;

    // kind: "PJLINK" or "SHARE", at the head of each line.
    ClientLedger(std::string kind, Now now, Say say);

    void connected(const std::string& host);
    void request(const std::string& host);
    void refused(const std::string& host, const std::string& why);
    // Once a second while anyone is kept: floods that ended, summaries due,
    // hosts gone quiet forgotten.
    void tick();
    bool empty() const { return hosts_.empty(); }

  private:
    struct Refusal {
        std::int64_t saidAt = 0;
        int since = 0;  // refused again since it was said
    };
    struct Host {
        std::int64_t periodFrom = 0;  // the summary's period began
        int connections = 0;
        std::int64_t requests = 0;
        std::int64_t secondFrom = 0;  // the current second's requests
        int inSecond = 0;
        bool flooding = false;
        std::int64_t floodFrom = 0;
        std::int64_t floodRequests = 0;
        std::int64_t lastHeard = 0;
        std::map<std::string, Refusal> refusals;
    };

    Host* hostOf(const std::string& host);
    void summarise(const std::string& name, Host& host, std::int64_t now);

    std::string kind_;
    Now now_;
    Say say_;
    std::map<std::string, Host> hosts_;
};

}  // namespace gateway
