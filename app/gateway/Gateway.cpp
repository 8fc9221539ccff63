#include "app/gateway/Gateway.h"

#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSysInfo>

#include "app/ExitStatus.h"
#include "app/ProgramStart.h"
#include "app/servers/Listening.h"
#include "toolkit/WallClock.h"
#include "vocabulary/Product.h"
#include "vocabulary/Sentences.h"

namespace gateway {

namespace {

std::string joined(const std::vector<Endpoint>& endpoints) {
    std::string text;
    for (const Endpoint& endpoint : endpoints)
        text += (text.empty() ? "" : ", ") + endpoint.shown();
    return text;
}

std::string whoMayConnect(const Options& options) {
    if (options.password) return "a password is asked of every client";
    if (options.open) return "no password (--no-password): whoever reaches it works the projector";
    return "no password, so loopback addresses only; --password-file FILE (or --no-password) "
           "serves the network";
}

// Two gateways on one host: each its own address, the port PJLink's.
std::string inUseAdvice(const std::string& why) {
    if (why.find("in use") == std::string::npos) return why;
    return why +
           " (another program listens there, another gateway perhaps: two projectors on one "
           "host each need an address of their own, listen=ADDRESS:4352, as PJLink "
           "controllers expect port 4352)";
}

bool heldByGateway(const toolkit::Fault& fault) {
    // Its name before 1.40-2 too: an instance of the old unit still running.
    return fault.kind == toolkit::Fault::Kind::InUse &&
           (fault.holder.starts_with("kr60p-gateway") || fault.holder.starts_with("kr60p-pjlink"));
}

// The page as a browser elsewhere reaches it.
std::optional<std::string> pageUrl(const Options& options) {
    if (!options.http) return std::nullopt;
    std::string host = options.http->host;
    if (host.empty() || host == "0.0.0.0" || host == "::") {
        host = QSysInfo::machineHostName().toStdString();
    } else if (host.find(':') != std::string::npos) {
        host = "[" + host + "]";
    }
    return (options.httpCertificate.empty() ? "http://" : "https://") + host + ":" +
           std::to_string(options.http->port) + "/";
}

}  // namespace

MqttSettings mqttSettings(const Options& options) {
    const mqtt::Topics topics{options.mqttBase};
    MosquittoClient::Settings client{options.mqtt->url,
                                     options.mqtt->host,
                                     options.mqtt->port,
                                     options.mqtt->tls,
                                     options.mqttCa,
                                     options.mqttUser,
                                     options.mqttPassword,
                                     "kr60p-gateway-" + mqtt::identifierOf(topics.base),
                                     {},
                                     "; PJLink and the web go on, and the broker is tried "
                                     "again, waiting longer each time up to a minute"};
    return {client,
            topics,
            options.haPrefix,
            {options.name, std::string(projector::kMaker), std::string(projector::kModel),
             std::nullopt, pageUrl(options)},
            options.device};
}

int takeOutOfService(const Options& options) {
    return takeOutOfService(mqttSettings(options), [](const std::string& text) {
        std::fprintf(stderr, "kr60p-gateway: %s\n", text.c_str());
    });
}

toolkit::Result<std::vector<trafficlog::Sink>> logSinks(const Options& options) {
    std::vector<trafficlog::Sink> sinks{{stderr, options.verbose || options.log == "-"}};
    if (options.log && *options.log != "-") {
        const app::LogOpening opening = app::openTrafficLog(*options.log);
        if (opening.failure) return toolkit::failure(*opening.failure);
        sinks.push_back({opening.file, true});
    }
    return sinks;
}

Gateway::Gateway(app::ProgramLine& line, trafficlog::TrafficLog& log,
                 std::vector<trafficlog::Sink> sinks, Options options)
    : line_(line),
      log_(log),
      options_(std::move(options)),
      sinks_(std::move(sinks)),
      journal_{[this](const std::string& text) { log_.note(text); },
               [this](const std::string& text) { log_.detail(text); }},
      answers_(line.shared(), {options_.name, std::string(projector::kMaker),
                               std::string(projector::kModel), "kr60p-gateway " PANEL_VERSION}),
      destinations_(onThisHost, [&line] { return line.now(); }),
      udp_(destinations_, journal_),
      poll_(nullptr, "StatusPoll", pjlink::kStatusPollMs),
      notifier_(
          line.shared(), poll_, [&line] { return line.now(); },
          [this](const std::string& text) { udp_.notify(text); }),
      pjlink_(answers_, options_.password, journal_, [&line] { return line.now(); }),
      statePoll_(nullptr, "StatePoll", projector::kStatePollMs),
      state_(
          line.shared(), statePoll_, [&line] { return line.now(); },
          [] { return toolkit::wallClock(); }),
      counts_(line.shared()) {
    line.addListener(state_);
    line.addListener(counts_);
    line.addListener(notifier_);
    line.addListener(*this);
    line.shared().onSilence([this](bool silent) {
        log_.note(silent ? "SILENT: the projector has not answered " +
                               std::to_string(projector::kSilentAfter) +
                               " exchanges in a row (its mains switched off, or its cable "
                               "out at its end?); what needs it is answered ERR4 at once, and "
                               "it is asked again every " +
                               std::to_string(projector::kProbeMs / 1000) + " s"
                         : std::string("ANSWERING: the projector answers again"));
    });
    pjlink_.onController([this](const QHostAddress& address) { udp_.heard(address); });
    udp_.onListeners([this] { notifier_.setListening(destinations_.anyone()); });
}

toolkit::Checked Gateway::serve() {
    for (const std::string& warning : options_.warnings) log_.note("WARNING " + warning);
    std::vector<Endpoint> listening;
    for (const Endpoint& endpoint : options_.listen) {
        auto where = pjlink_.listen(endpoint);
        if (where) {
            listening.push_back(*where);
            continue;
        }
        if (endpoint.optional) {
            log_.note("PJLINK not on " + endpoint.shown() + ": " + where.error());
            continue;
        }
        return toolkit::failure("cannot listen on " + endpoint.shown() + ": " +
                                inUseAdvice(where.error()));
    }
    log_.note("PJLINK on " + joined(listening) + ": " + whoMayConnect(options_));

    // Class 2 over UDP on the same addresses and port: the search, and the
    // status notifications, polled for only while someone is to hear them.
    for (const Endpoint& endpoint : listening) {
        if (auto bound = udp_.listen(endpoint); !bound) {
            log_.note("SEARCH not on " + endpoint.shown() + ": " + bound.error());
        }
    }
    applyNotify(options_);

    if (options_.share) {
        share_.emplace(line_.shared(), journal_, [this] { return line_.now(); });
        const auto where = share_->listen(*options_.share);
        if (!where) {
            return toolkit::failure("cannot share the line on " + options_.share->shown() + ": " +
                                    inUseAdvice(where.error()));
        }
        line_.queue().onUnasked([this](const std::string& bytes) { share_->unasked(bytes); });
        log_.note("SHARE on tcp://" + where->shown() +
                  ": the line for the panel and kr60p-ctl, without a password");
    }
    if (auto web = serveWeb(); !web) return web;
    return serveMqtt();
}

toolkit::Checked Gateway::serveMqtt() {
    if (!options_.mqtt) return toolkit::Done{};
    mqtt_ = std::make_unique<MqttFrontEnd>(
        line_.shared(), state_, [this] { return line_.now(); }, mqttSettings(options_),
        [this](const std::string& text) { log_.note(text); });
    if (const auto why = mqtt_->start()) return toolkit::failure(*why);
    log_.note(
        "MQTT to " + options_.mqtt->url + " under " + options_.mqttBase +
        (options_.haPrefix.empty() ? "" : ", found by Home Assistant under " + options_.haPrefix) +
        (options_.mqttPassword ? ""
                               : "; no broker password: whoever may publish under " +
                                     options_.mqttBase + "/ works the projector"));
    return toolkit::Done{};
}

void Gateway::end() {
    if (mqtt_) mqtt_->end();
}

toolkit::Checked Gateway::serveWeb() {
    if (!options_.http) return toolkit::Done{};
    std::optional<Tls> tls;
    if (!options_.httpCertificate.empty()) {
        QFile certificate(QString::fromStdString(options_.httpCertificate));
        QFile key(QString::fromStdString(options_.httpKey));
        if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
            return toolkit::failure("cannot read the certificate " + options_.httpCertificate +
                                    " or its key " + options_.httpKey);
        }
        const QByteArray keyText = key.readAll();
        Tls loaded{QSslCertificate(&certificate, QSsl::Pem), QSslKey(keyText, QSsl::Rsa)};
        if (loaded.key.isNull()) loaded.key = QSslKey(keyText, QSsl::Ec);
        if (loaded.certificate.isNull() || loaded.key.isNull()) {
            return toolkit::failure("the certificate " + options_.httpCertificate + " or its key " +
                                    options_.httpKey + " is not PEM");
        }
        tls = loaded;
    }
    Api::Parts parts{line_.shared(),
                     state_,
                     counts_,
                     options_.device,
                     {options_.name, std::string(projector::kMaker), std::string(projector::kModel),
                      "kr60p-gateway " PANEL_VERSION},
                     [this] {
                         return web::Clients{pjlink_.clients(), share_ ? share_->clients() : 0,
                                             web_ ? web_->connections() : 0};
                     },
                     [this] { return line_.now(); }};
    web_ = std::make_unique<WebServer>(parts, options_.password, tls, journal_);
    const auto where = web_->listen(*options_.http);
    if (!where) {
        return toolkit::failure("cannot serve the web page on " + options_.http->shown() + ": " +
                                inUseAdvice(where.error()));
    }
    log_.note(std::string("HTTP on ") + (tls ? "https://" : "http://") + where->shown() + ": " +
              whoMayConnect(options_) +
              (tls || !options_.password
                   ? ""
                   : "; plain HTTP: the password can be read on the way (--http-certificate)"));
    return toolkit::Done{};
}

std::vector<Place> Gateway::named(const Options& options) const {
    std::vector<Place> places;
    for (const Endpoint& endpoint : options.notify) {
        places.push_back({addressOf(endpoint), endpoint.port});
    }
    return places;
}

void Gateway::applyNotify(const Options& options) {
    std::vector<std::string> why;
    destinations_.setNamed(named(options), udp_.ports(), why);
    for (const std::string& line : why) log_.note("WARNING " + line);
    notifier_.setListening(destinations_.anyone());
}

void Gateway::portEvent(const projector::PortEvent& event) {
    using Kind = projector::PortEvent::Kind;
    if ((event.kind != Kind::StartFailed && event.kind != Kind::Lost) ||
        !heldByGateway(event.fault)) {
        return;
    }
    exitStatus_ = app::kExitUsage;
    const std::string holder = event.fault.holder;
    QMetaObject::invokeMethod(
        qApp,
        [this, holder, device = event.device] {
            line_.port().shutDown(
                "another gateway holds " + projector::shown(device) + " (" + holder +
                "): two cannot share one line; give this one a device of its own, or reach "
                "the other's line through its --share");
            QCoreApplication::exit(exitStatus_);
        },
        Qt::QueuedConnection);
}

void Gateway::reload(const toolkit::Result<Options, Exit>& fresh) {
    if (!fresh) {
        std::string why = fresh.error().text;
        if (const auto end = why.find('\n'); end != std::string::npos) why.resize(end);
        if (why.starts_with("kr60p-gateway: ")) why.erase(0, 14);
        log_.note("RELOAD FAILED: " + why + " The running settings stay.");
        return;
    }
    const Options& next = *fresh;
    auto sinks = logSinks(next);
    if (!sinks) {
        log_.note("RELOAD FAILED: " + sinks.error() + " The running settings stay.");
        return;
    }
    std::vector<std::string> applied, restart;
    // The log's streams first, so that what follows is written where it now goes.
    log_.setSinks(*sinks);
    for (const trafficlog::Sink& sink : sinks_) {
        if (sink.file != stderr) std::fclose(sink.file);
    }
    sinks_ = *sinks;
    if (next.log != options_.log || next.verbose != options_.verbose) applied.push_back("log");
    for (const std::string& warning : next.warnings) log_.note("WARNING " + warning);
    if (next.device != options_.device) restart.push_back("device");
    if (next.share != options_.share) restart.push_back("share");
    if (next.http != options_.http || next.httpCertificate != options_.httpCertificate ||
        next.httpKey != options_.httpKey) {
        restart.push_back("http");
    }
    if (next.mqtt != options_.mqtt || next.mqttUser != options_.mqttUser ||
        next.mqttPassword != options_.mqttPassword || next.mqttBase != options_.mqttBase ||
        next.mqttCa != options_.mqttCa || next.haPrefix != options_.haPrefix) {
        restart.push_back("mqtt");
    }
    if (next.listen != options_.listen) {
        // Who may connect goes with where: the password stays as it is too.
        restart.push_back("listen");
    } else if (next.password != options_.password || next.open != options_.open) {
        pjlink_.setPassword(next.password);
        if (web_) web_->setPassword(next.password);
        options_.password = next.password;
        options_.open = next.open;
        applied.push_back("password (asked of new connections)");
    }
    if (next.name != options_.name) {
        answers_.setName(next.name);
        options_.name = next.name;
        applied.push_back("name");
    }
    if (next.settings != options_.settings) {
        line_.port().chooseSpeed(next.settings);
        options_.settings = next.settings;
        applied.push_back("speed");
    }
    if (next.notify != options_.notify) {
        applyNotify(next);
        options_.notify = next.notify;
        applied.push_back("notify");
    }
    options_.log = next.log;
    options_.verbose = next.verbose;
    const auto list = [](const std::vector<std::string>& items) {
        std::string text;
        for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
        return text;
    };
    std::string said = "RELOADED " + (next.config.empty() ? "the settings" : next.config) + ": ";
    said += applied.empty() ? "nothing to apply" : list(applied) + " applied";
    if (!restart.empty()) said += "; " + list(restart) + " need a restart, and stay as they were";
    log_.note(said);
}

}  // namespace gateway
