#include "sim/Responder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "sim/Traffic.h"
#include "toolkit/WallClock.h"

namespace sim {

std::string noise(const std::string& bytes) {
    std::string heard;
    for (const char c : bytes) {
        // Sampled at the wrong rate, each frame reads as some other byte,
        // never as the carriage return that would end a line.
        auto byte = static_cast<unsigned char>((static_cast<unsigned char>(c) * 7 + 0x95) | 0x80);
        heard += static_cast<char>(byte);
    }
    return heard;
}

Responder::Responder(const Options& options) : o_(options), projector_(options.times) {}

std::int64_t Responder::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - start_).count();
}

void Responder::log(const char* direction, const std::string& bytes, long panelBaud) const {
    if (o_.quiet) return;
    std::string line = toolkit::wallClock() + "  " + direction + "  " + printable(bytes);
    if (garbled(panelBaud)) {
        line += "  (the panel's end runs at " + std::to_string(panelBaud) +
                " baud, the projector's at " + std::to_string(o_.baud) + ")";
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void Responder::note(const std::string& text) const {
    if (o_.quiet) return;
    std::printf("%s  %s\n", toolkit::wallClock().c_str(), text.c_str());
    std::fflush(stdout);
}

void Responder::restart() {
    line_.clear();
    pending_.clear();
}

void Responder::heard(const std::string& bytes, long panelBaud) {
    if (garbled(panelBaud)) {
        log("<-", noise(bytes), panelBaud);
        return;
    }
    for (const char c : bytes) {
        if (c != '\r') {
            line_ += c;
            continue;
        }
        received(line_, panelBaud);
        line_.clear();
        if (hungUp_) return;
    }
}

void Responder::received(const std::string& line, long panelBaud) {
    ++lines_;
    log("<-", line + '\r', panelBaud);
    if (o_.hangUpAfter > 0 && lines_ >= o_.hangUpAfter) {
        hungUp_ = true;
        return;
    }
    if (o_.silent) return;
    auto reply = projector_.answer(line, nowMs());
    if (line == "CR0" && !o_.statusFrom.empty()) {
        std::ifstream file(o_.statusFrom);
        std::string status;
        if (std::getline(file, status) && !status.empty()) reply = status + '\r';
    }
    if (!reply) return;
    std::string bytes;
    for (std::size_t i = 0; i < o_.garbage; ++i) bytes += static_cast<char>(random_() & 0xFF);
    bytes += *reply;
    std::int64_t due = std::max(nowMs() + o_.delayMs, pending_.empty() ? 0 : pending_.back().due);
    for (const std::string& chunk : chunksOf(bytes, o_.chunk)) {
        pending_.push_back({due, chunk});
        due += o_.chunkGapMs;
    }
}

std::string Responder::due(long panelBaud) {
    std::string out;
    while (!pending_.empty() && pending_.front().due <= nowMs()) {
        log("->", pending_.front().bytes, 0);
        out += pending_.front().bytes;
        pending_.pop_front();
    }
    if (!o_.unasked.empty() && nowMs() >= nextUnasked_) {
        log("->", o_.unasked, 0);
        out += o_.unasked;
        nextUnasked_ = nowMs() + o_.unaskedEveryMs;
    }
    return garbled(panelBaud) ? noise(out) : out;
}

int Responder::untilDue() const {
    std::int64_t wait = -1;
    if (!pending_.empty()) wait = std::max<std::int64_t>(pending_.front().due - nowMs(), 0);
    if (!o_.unasked.empty()) {
        const std::int64_t unasked = std::max<std::int64_t>(nextUnasked_ - nowMs(), 0);
        wait = wait < 0 ? unasked : std::min(wait, unasked);
    }
    return static_cast<int>(std::min<std::int64_t>(wait, 1000));
}

}  // namespace sim
