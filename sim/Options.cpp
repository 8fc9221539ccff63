#include "sim/Options.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

void usage(std::FILE* to) {
    std::fputs(
        "Usage: kr60p-sim [OPTIONS]\n"
        "A KR60P projector on a pseudo-terminal, a terminal or TCP. Prints where the\n"
        "panel finds it on its first line (use it with: kr60p-panel --com1 DEVICE), then\n"
        "one line per command received and per reply sent, with the time of day.\n\n"
        "  --link PATH          also make a symbolic link PATH to its pseudo-terminal\n"
        "  --listen ADDRESS     serve on TCP instead: tcp://HOST:PORT (raw) or\n"
        "                       rfc2217://HOST:PORT (telnet, COM port control); port 0\n"
        "                       takes a free one; one client at a time\n"
        "  --device PATH        serve on this terminal instead (a socat pair's other end,\n"
        "                       a serial port on a null-modem cable)\n"
        "  --speed BAUD         the projector's line speed, 19200 or 9600 (default 19200);\n"
        "                       a panel at the other speed is heard as noise\n"
        "  --warm-up MS         warm-up time after ON (default 3000)\n"
        "  --cool-down MS       cooling time after OFF (default 3000)\n"
        "Faults:\n"
        "  --delay MS           answer each command MS later\n"
        "  --chunk N            send replies in pieces of N bytes ...\n"
        "  --chunk-gap MS       ... MS apart (default 20)\n"
        "  --silent             never answer\n"
        "  --unasked TEXT       send TEXT unasked ...\n"
        "  --unasked-every MS   ... every MS (default 1000)\n"
        "  --garbage N          put N random bytes in front of every reply\n"
        "  --hang-up-after N    hang up after N command lines, as an unplugged cable\n"
        "                       (the simulator then ends)\n"
        "  --status-from FILE   answer CR0 with the first line of FILE while it has one\n"
        "                       (28, 81, ...: every state of the status table)\n"
        "  --quiet              no traffic log\n"
        "  -h, --help           this text\n"
        "  -v, --version        the version\n",
        to);
}

long number(const char* text, const char* option) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0) {
        std::fprintf(stderr, "kr60p-sim: %s needs a whole number of 0 or more, not \"%s\"\n",
                     option, text);
        std::exit(2);
    }
    return value;
}

}  // namespace

Options readOptions(int argc, char** argv) {
    enum {
        Link = 1,
        Listen,
        Device,
        Speed,
        WarmUp,
        CoolDown,
        Delay,
        Chunk,
        ChunkGap,
        Silent,
        Unasked,
        UnaskedEvery,
        Garbage,
        HangUpAfter,
        Quiet,
        StatusFrom,
        Help = 'h',
        Version = 'v',
    };
    static const option kOptions[] = {
        {"link", required_argument, nullptr, Link},
        {"listen", required_argument, nullptr, Listen},
        {"device", required_argument, nullptr, Device},
        {"speed", required_argument, nullptr, Speed},
        {"warm-up", required_argument, nullptr, WarmUp},
        {"cool-down", required_argument, nullptr, CoolDown},
        {"delay", required_argument, nullptr, Delay},
        {"chunk", required_argument, nullptr, Chunk},
        {"chunk-gap", required_argument, nullptr, ChunkGap},
        {"silent", no_argument, nullptr, Silent},
        {"unasked", required_argument, nullptr, Unasked},
        {"unasked-every", required_argument, nullptr, UnaskedEvery},
        {"garbage", required_argument, nullptr, Garbage},
        {"hang-up-after", required_argument, nullptr, HangUpAfter},
        {"quiet", no_argument, nullptr, Quiet},
        {"status-from", required_argument, nullptr, StatusFrom},
        {"help", no_argument, nullptr, Help},
        {"version", no_argument, nullptr, Version},
        {nullptr, 0, nullptr, 0},
    };
    Options o;
    for (int c; (c = getopt_long(argc, argv, "hv", kOptions, nullptr)) != -1;) {
        const char* name = argv[optind - 1];
        switch (c) {
            case Link:
                o.link = optarg;
                break;
            case Listen:
                o.listen = optarg;
                break;
            case Device:
                o.device = optarg;
                break;
            case Speed:
                o.baud = number(optarg, name);
                if (o.baud != 19200 && o.baud != 9600) {
                    std::fprintf(stderr, "kr60p-sim: --speed is 19200 or 9600, not %s\n", optarg);
                    std::exit(2);
                }
                break;
            case WarmUp:
                o.times.warmUpMs = number(optarg, name);
                break;
            case CoolDown:
                o.times.coolDownMs = number(optarg, name);
                break;
            case Delay:
                o.delayMs = number(optarg, name);
                break;
            case Chunk:
                o.chunk = static_cast<std::size_t>(number(optarg, name));
                break;
            case ChunkGap:
                o.chunkGapMs = number(optarg, name);
                break;
            case Silent:
                o.silent = true;
                break;
            case Unasked:
                o.unasked = optarg;
                break;
            case UnaskedEvery:
                o.unaskedEveryMs = std::max(1L, number(optarg, name));
                break;
            case Garbage:
                o.garbage = static_cast<std::size_t>(number(optarg, name));
                break;
            case HangUpAfter:
                o.hangUpAfter = number(optarg, name);
                break;
            case Quiet:
                o.quiet = true;
                break;
            case StatusFrom:
                o.statusFrom = optarg;
                break;
            case Version:
                std::printf("kr60p-sim %s\n", SIM_VERSION);
                std::exit(0);
            case Help:
                usage(stdout);
                std::exit(0);
            default:
                usage(stderr);
                std::exit(2);
        }
    }
    if (!o.listen.empty() + !o.device.empty() + !o.link.empty() > 1) {
        std::fputs("kr60p-sim: --link, --listen and --device each choose a wire; give one\n",
                   stderr);
        std::exit(2);
    }
    if (optind < argc) {
        std::fprintf(stderr, "kr60p-sim: unexpected argument \"%s\"\n", argv[optind]);
        std::exit(2);
    }
    return o;
}

}  // namespace sim
