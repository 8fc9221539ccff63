// The traffic log's lines for what happens on the link and in the window.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "PanelFixture.h"
#include "log/TrafficLog.h"

namespace {

// A traffic log kept in memory, every line stamped "T".
class MemoryLog {
  protected:
    MemoryLog() : out_(open_memstream(&text_, &size_)) {}
    ~MemoryLog() {
        std::fclose(out_);
        std::free(text_);
    }
    // The lines written since the last call.
    std::vector<std::string> lines() {
        std::fflush(out_);
        std::vector<std::string> all;
        const std::string text(text_, size_);
        for (std::size_t end; (end = text.find('\n', read_)) != std::string::npos;
             read_ = end + 1) {
            all.push_back(text.substr(read_, end - read_));
        }
        return all;
    }

    std::vector<std::string> failures;

  private:
    char* text_ = nullptr;
    std::size_t size_ = 0, read_ = 0;
    std::FILE* out_;

  protected:
    trafficlog::TrafficLog log{out_, [this](const std::string& why) { failures.push_back(why); },
                               [] { return std::string("T"); }};
};

// The panel with that log on its link, as the program has it.
class Logged : private MemoryLog, public PanelTest {
  protected:
    Logged() : PanelTest({}, {&log}) {
        form.onWarningShown([this](const std::string& text) { log.warningShown(text); });
    }
    using MemoryLog::failures;
    using MemoryLog::lines;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(Logged, AnExchangeWithAReplyOneWithoutAndALostDevice) {
    EXPECT_EQ(lines(),
              (Lines{"T OPENED COM1 /dev/ttyS0 19200,N,8,1", "T CLOSED COM1 /dev/ttyS0",
                     "T OPENED COM1 /dev/ttyS0 19200,N,8,1", "T SWITCHED to COM1 /dev/ttyS0"}));
    button(names::StatusQuery).click();
    tk.port.deliver("0");
    tk.port.deliver("0\r");
    advance(1000);
    EXPECT_EQ(lines(), (Lines{"T TX C R 0 CR | 43 52 30 0D", "T RX 0 | 30", "T RX 0 CR | 30 0D",
                              "T STATUS  Power ON"}));

    button(names::PowerOn).click();
    advance(1000);
    EXPECT_EQ(lines(), (Lines{"T TX C 0 0 CR | 43 30 30 0D", "T NO REPLY"}));

    tk.port.unplug();
    tk.port.plugIn();
    advance(1000);
    const Lines lost = lines();
    ASSERT_EQ(lost.size(), 4u);
    EXPECT_EQ(lost[0], "T LOST COM1 /dev/ttyS0");
    EXPECT_EQ(lost[1], "T WARNING " + tk.box.warnings.back());
    EXPECT_EQ(lost[2], "T OPENED COM1 /dev/ttyS0 19200,N,8,1");
    EXPECT_EQ(lost[3], "T RECONNECTED COM1 /dev/ttyS0 19200,N,8,1");
    EXPECT_TRUE(failures.empty());
}

TEST(TrafficLog, AWriteThatFailsIsReportedOnceAndTheLogStops) {
    char room[100];  // the first line, and little more
    std::FILE* full = fmemopen(room, sizeof room, "w");
    setvbuf(full, nullptr, _IONBF, 0);
    std::vector<std::string> failures;
    trafficlog::TrafficLog log(full, [&](const std::string& why) { failures.push_back(why); });
    EXPECT_TRUE(log.started("kr60p-panel 1.40", "/dev/ttyUSB0", "/dev/ttyS1"));
    for (int i = 0; i < 10; ++i) log.noReply();
    log.statusDecoded(" Power ON");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("the panel goes on without it"), std::string::npos);
    std::fclose(full);
}

// Each line reaches the file whole as it happens: read back through the file
// system while the log is still open, a text with line breaks in it is one line.
TEST(TrafficLog, EachLineIsInTheFileWholeAtOnce) {
    char path[] = "/tmp/traffic-log-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::FILE* file = fdopen(fd, "a");
    trafficlog::TrafficLog log(file, {}, [] { return std::string("T"); });
    log.warningShown("two\rlines\nand a third");
    std::ifstream written(path);
    const std::string text((std::istreambuf_iterator<char>(written)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "T WARNING two lines and a third\n");
    std::fclose(file);
    std::remove(path);
}

TEST(TrafficLog, TimesHaveThreeDigitsOfMilliseconds) {
    using namespace std::chrono;
    const auto at = system_clock::from_time_t(1'800'000'000) + milliseconds(42);
    const std::string stamp = toolkit::wallClock(at);
    EXPECT_EQ(stamp.size(), 23u) << stamp;
    EXPECT_EQ(stamp.substr(19), ".042") << stamp;
}

TEST_F(Logged, AWarningIsLoggedBeforeItsBoxShows) {
    lines();
    std::vector<std::string> loggedWhileShown;
    tk.box.whileShown = [&] { loggedWhileShown = lines(); };
    tk.port.unplug();
    ASSERT_EQ(loggedWhileShown.size(), 2u);
    EXPECT_EQ(loggedWhileShown[1], "T WARNING " + tk.box.warnings.back());
}

// A program whose start fails says so in its log, with the reason.
TEST(TrafficLog, AStartThatFailsIsWritten) {
    struct Log : MemoryLog {
        using MemoryLog::lines;
        using MemoryLog::log;
    } memory;
    fake::Clock clock;
    fake::SerialPort port;
    fake::Timer reconnect{clock, 1000};
    port.setDevice(1, "/dev/ttyUSB9");
    port.missingDevices = {"/dev/ttyUSB9"};
    projector::Port link{port, reconnect};
    link.addListener(memory.log);
    link.start();
    EXPECT_EQ(memory.lines(), (Lines{"T CANNOT START COM1 /dev/ttyUSB9: There is no serial device "
                                     "/dev/ttyUSB9 (COM1)."}));
}
