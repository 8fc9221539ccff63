#include "web/Metrics.h"

#include <array>
#include <cstdio>

#include "pjlink/Mapping.h"

namespace web {

namespace {

using projector::Field;

// A label's value, escaped as the format has it.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

class Text {
  public:
    void family(const char* name, const char* type, const char* help) {
        text_ +=
            std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
    }
    void sample(const std::string& name, double value, const std::string& labels = {}) {
        text_ += name + (labels.empty() ? "" : "{" + labels + "}") + " " + number(value) + "\n";
    }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string label(const char* name, const std::string& value) {
    return std::string(name) + "=\"" + escaped(value) + "\"";
}

}  // namespace

LineCounts::LineCounts(projector::SharedLine& line) {
    line.onAnswer(
        [this](const projector::Answer& answer) { ++outcomes[outcomeName(answer.outcome)]; });
}

void LineCounts::portEvent(const projector::PortEvent& event) {
    if (event.kind == projector::PortEvent::Kind::Lost) ++losses;
    if (event.kind == projector::PortEvent::Kind::Reconnected) ++reconnects;
}

std::string outcomeName(projector::Answer::Outcome outcome) {
    using Outcome = projector::Answer::Outcome;
    switch (outcome) {
        case Outcome::Answered:
            return "answered";
        case Outcome::NoReply:
            return "no-reply";
        case Outcome::Cut:
            return "cut";
        case Outcome::Undecoded:
            return "undecoded";
        case Outcome::Unexpected:
            return "unexpected";
        case Outcome::NotSent:
            return "not-sent";
        case Outcome::Lost:
            return "lost";
        case Outcome::Silent:
            break;
    }
    return "not-answering";
}

std::string metrics(const projector::ProjectorState& state, const pjlink::Identity& identity,
                    const LineCounts& counts, std::uint64_t fromCache, const Clients& clients,
                    std::int64_t now) {
    using Reach = projector::ProjectorState::Reach;
    const bool reachable = state.reach() != Reach::Away;
    // A reading stands for the projector now only while fresh and the device there.
    const auto fresh = [&](Field field) -> const projector::ProjectorState::Known* {
        const auto& known = state.known(field);
        if (!reachable || !known || now - known->at > kFreshMs) return nullptr;
        return &*known;
    };
    const auto status = [&](pjlink::Status wanted) -> std::optional<std::string> {
        const auto* known = fresh(wanted == pjlink::Status::Input  ? Field::Input
                                  : wanted == pjlink::Status::Mute ? Field::Mute
                                                                   : Field::State);
        if (!known) return std::nullopt;
        const auto value = pjlink::statusOf(known->reading, wanted);
        if (!value || !*value) return std::nullopt;
        return **value;
    };
    Text text;

    const auto* version = fresh(Field::Version);
    text.family("pjlink_device_info", "gauge", "What the projector says of itself.");
    text.sample("pjlink_device_info", 1,
                label("name", identity.name) + "," + label("manufacturer", identity.maker) + "," +
                    label("product_name", identity.model) + "," +
                    label("version", version ? version->reading.text : "") + "," +
                    label("pjlink_class", "2"));
    if (const auto power = status(pjlink::Status::Power)) {
        text.family("pjlink_power_status", "gauge",
                    "0 standby, 1 on, 2 cooling down, 3 warming up.");
        text.sample("pjlink_power_status", std::stod(*power));
    }
    if (const auto errors = status(pjlink::Status::Errors); errors && errors->size() == 6) {
        text.family("pjlink_error_status", "gauge", "0 fine, 1 warning, 2 error, by component.");
        for (std::size_t i = 0; i < pjlink::kErrorComponents.size(); ++i) {
            text.sample("pjlink_error_status", (*errors)[i] - '0',
                        label("component", std::string(pjlink::kErrorComponents[i])));
        }
    }
    const auto* hours = fresh(Field::Hours);
    const auto* lamps = fresh(Field::Lamps);
    if (hours && lamps && hours->reading.numbers.at(0)) {
        for (const pjlink::LampRow& row : pjlink::lampRows()) {
            if (row.reading != lamps->reading.text) continue;
            text.family("pjlink_lamp_hours", "gauge", "The lamp's hours of use.");
            for (std::size_t lamp = 0; lamp < row.lamps.size(); ++lamp) {
                text.sample("pjlink_lamp_hours", *hours->reading.numbers[0],
                            label("lamp", std::to_string(lamp + 1)));
            }
            text.family("pjlink_lamp_on", "gauge", "1 when the lamp is lit.");
            for (std::size_t lamp = 0; lamp < row.lamps.size(); ++lamp) {
                text.sample("pjlink_lamp_on", row.lamps[lamp] == '1',
                            label("lamp", std::to_string(lamp + 1)));
            }
        }
    }
    if (const auto input = status(pjlink::Status::Input)) {
        text.family("pjlink_input", "gauge", "The input in use: 11 PC1, 12 PC2, 21 Video.");
        text.sample("pjlink_input", std::stod(*input));
    }
    if (const auto mute = status(pjlink::Status::Mute); mute && mute->size() == 2) {
        text.family("pjlink_av_mute", "gauge",
                    "1 when the picture (video) or sound (audio) is muted.");
        const char kind = (*mute)[0];
        const bool on = (*mute)[1] == '1';
        text.sample("pjlink_av_mute", on && (kind == '1' || kind == '3'), label("type", "video"));
        text.sample("pjlink_av_mute", on && (kind == '2' || kind == '3'), label("type", "audio"));
    }

    if (const auto* temperatures = fresh(Field::Temperatures)) {
        text.family("kr60p_temperature_celsius", "gauge", "The projector's three temperatures.");
        for (std::size_t i = 0; i < temperatures->reading.numbers.size(); ++i) {
            if (const auto value = temperatures->reading.numbers[i]) {
                text.sample("kr60p_temperature_celsius", *value,
                            label("sensor", std::to_string(i + 1)));
            }
        }
    }
    if (const auto* pressure = fresh(Field::Pressure);
        pressure && pressure->reading.numbers.at(0)) {
        text.family("kr60p_pressure_hectopascals", "gauge",
                    "The air pressure the projector reads.");
        text.sample("kr60p_pressure_hectopascals", *pressure->reading.numbers[0]);
    }
    if (lamps) {
        text.family("kr60p_lamp_mode", "gauge", "1 for the lamp mode in force.");
        text.sample("kr60p_lamp_mode", 1, label("mode", lamps->reading.text));
    }
    text.family("kr60p_reachable", "gauge", "1 while the projector's device is open.");
    text.sample("kr60p_reachable", reachable);
    text.family("kr60p_answering", "gauge", "1 while the projector answers.");
    text.sample("kr60p_answering", state.reach() == Reach::Answering);
    text.family("kr60p_exchanges_total", "counter", "Exchanges on the line, by outcome.");
    for (const char* outcome : {"answered", "no-reply", "cut", "undecoded", "unexpected",
                                "not-sent", "lost", "not-answering"}) {
        const auto count = counts.outcomes.find(outcome);
        text.sample("kr60p_exchanges_total",
                    static_cast<double>(count == counts.outcomes.end() ? 0 : count->second),
                    label("outcome", outcome));
    }
    text.family("kr60p_device_losses_total", "counter", "Times the device was lost.");
    text.sample("kr60p_device_losses_total", static_cast<double>(counts.losses));
    text.family("kr60p_reconnects_total", "counter", "Times a lost device came back.");
    text.sample("kr60p_reconnects_total", static_cast<double>(counts.reconnects));
    text.family("kr60p_answers_from_cache_total", "counter",
                "Queries answered from an answer of the last second.");
    text.sample("kr60p_answers_from_cache_total", static_cast<double>(fromCache));
    text.family("kr60p_clients", "gauge", "Clients connected, by protocol.");
    text.sample("kr60p_clients", static_cast<double>(clients.pjlink), label("protocol", "pjlink"));
    text.sample("kr60p_clients", static_cast<double>(clients.share), label("protocol", "share"));
    text.sample("kr60p_clients", static_cast<double>(clients.http), label("protocol", "http"));
    return text.take();
}

}  // namespace web
