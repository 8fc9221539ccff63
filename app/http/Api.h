#pragma once
// The JSON API under /api/v1/, the metrics and the health check: each
// request answered from what the gateway knows or with one exchange through
// the shared line, errors as JSON with a status that fits and a sentence a
// person understands.

#include <QObject>
#include <functional>
#include <string>

#include "app/http/Call.h"
#include "app/http/Reply.h"
#include "link/ProjectorState.h"
#include "link/SharedLine.h"
#include "pjlink/Answers.h"
#include "qt/QtTimer.h"
#include "web/Hold.h"
#include "web/Metrics.h"

namespace gateway {

// A scrape waits for the line no longer than this.
inline constexpr int kScrapeWaitMs = 1000;
// Readings older than this are asked again by a scrape.
inline constexpr std::int64_t kScrapeFreshMs = 5000;

class Api : public QObject {
  public:
    struct Parts {
        projector::SharedLine& line;
        projector::ProjectorState& state;
        web::LineCounts& counts;
        std::string device;
        pjlink::Identity identity;
        std::function<web::Clients()> clients;
        projector::SharedLine::Now now;
    };

    explicit Api(Parts parts);

    QByteArray statusBody() const;
    void status(const Call& call);
    void commands(const Call& call);
    void command(const Call& call, const std::string& name);
    void sendCode(const Call& call);
    void hold(const Call& call);
    void renew(const Call& call);
    void release(const Call& call);
    void metrics(const Call& call);
    void health(const Call& call);
    // A page's live stream went: its hold with it.
    void streamGone(const std::string& stream) { hold_.release(stream); }

  private:
    // Every reading older than kScrapeFreshMs asked again, then what follows:
    // once answered, or after kScrapeWaitMs whatever has come.
    void fresh(std::function<void()> then);
    // The power state read (shared, or a second-old answer), then what
    // follows; the reply when it cannot be read.
    void withState(const Call& call, std::function<void(const std::string& state)> then);

    Parts p_;
    toolkit::qt::QtTimer repeat_, lease_;
    web::Hold hold_;
};

}  // namespace gateway
