// Which device COM1 and COM2 stand for, and why.

#include <gtest/gtest.h>

#include "PanelFixture.h"
#include "link/DeviceChoice.h"
#include "panel/Messages.h"

using Source = projector::DeviceChoice::Source;

TEST(DeviceChoice, FirstMatchWins) {
    struct Case {
        const char* what;
        std::map<int, std::string> commandLine;
        std::map<std::string, std::string> kept;
        std::vector<toolkit::SerialDevice> present;
        std::string com1, com2;
        Source source1, source2;
    };
    const auto a = adapter("usb-A", "/dev/ttyUSB1"), b = adapter("usb-B", "/dev/ttyUSB0");
    for (const Case& c : std::vector<Case>{
             {"nothing present",
              {},
              {},
              {kBuiltIn},
              "/dev/ttyS0",
              "/dev/ttyS1",
              Source::BuiltIn,
              Source::BuiltIn},
             {"adapters by stable path",
              {},
              {},
              {a, b, kBuiltIn},
              a.path,
              b.path,
              Source::Adapter,
              Source::Adapter},
             {"one adapter", {}, {}, {b}, b.path, "/dev/ttyS1", Source::Adapter, Source::BuiltIn},
             {"kept from the window",
              {},
              {{"devices/COM2", "/dev/ttyACM3"}},
              {a},
              a.path,
              "/dev/ttyACM3",
              Source::Adapter,
              Source::Mapped},
             {"command line first",
              {{1, "/tmp/projector"}},
              {{"devices/COM1", b.path}},
              {a, b},
              "/tmp/projector",
              b.path,
              Source::CommandLine,
              Source::Adapter},
         }) {
        SCOPED_TRACE(c.what);
        fake::Settings kept;
        kept.values = c.kept;
        fake::SerialDevices devices;
        devices.devices = c.present;
        const projector::DeviceChoice choice(kept, devices, c.commandLine);
        EXPECT_EQ(choice.deviceFor(1).path, c.com1);
        EXPECT_EQ(choice.deviceFor(2).path, c.com2);
        EXPECT_EQ(choice.deviceFor(1).source, c.source1);
        EXPECT_EQ(choice.deviceFor(2).source, c.source2);
    }
}

TEST(DeviceChoice, AnEmptyKeptValueIsNoChoice) {
    fake::Settings kept;
    kept.values["devices/COM1"] = "";
    fake::SerialDevices devices;
    devices.devices = {adapter("usb-A", "/dev/ttyUSB0")};
    const projector::DeviceChoice choice(kept, devices, {});
    EXPECT_EQ(choice.deviceFor(1).path, "/dev/serial/by-id/usb-A");
    EXPECT_EQ(choice.deviceFor(1).source, Source::Adapter);
}

// The hint fits where COM1's device came from.
TEST(DeviceChoice, TheStartUpHintFitsWhereTheDeviceCameFrom) {
    toolkit::Fault missing;
    missing.kind = toolkit::Fault::Kind::NoSuchDevice;
    missing.device = "/dev/x";
    for (const auto& [source, hint] : std::vector<std::pair<Source, std::string>>{
             {Source::CommandLine, "To use another device"},
             {Source::Mapped, "because it was chosen from the window"},
             {Source::Adapter, ", the first USB serial adapter present"},
             {Source::BuiltIn, ", as no USB serial adapter was found"}}) {
        const std::string text = panel::startUpFailure(missing, {"/dev/x", source});
        EXPECT_NE(text.find(hint), std::string::npos) << text;
    }
}
