// Port texts: device paths, COMn through the profile file's [ports], and
// texts that name no port.
#include "platform/serial/port_name.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kq::serial {
namespace {

TEST(PortName, DevicePathsNameThemselves) {
  EXPECT_EQ(resolve_port("/dev/ttyUSB0", ""), "/dev/ttyUSB0");
  EXPECT_EQ(resolve_port("  /tmp/reader ", "/nonexistent/pb.ini"), "/tmp/reader");
}

TEST(PortName, ComAndNumbersWithoutProfileAreTheStandardPorts) {
  EXPECT_EQ(resolve_port("COM1", ""), "/dev/ttyS0");
  EXPECT_EQ(resolve_port(" com3 ", "/nonexistent/pb.ini"), "/dev/ttyS2");
  EXPECT_EQ(resolve_port("2", ""), "/dev/ttyS1");
  EXPECT_EQ(resolve_port("COM12", ""), "/dev/ttyS11");
  EXPECT_EQ(port_number("COM7"), 7);
  EXPECT_EQ(port_number("7"), 7);
}

TEST(PortName, TextsThatNameNoPort) {
  for (const char* t : {"", "   ", "COM", "COM0", "0", "LPT1", "COMx", "COM1a", "-1", "COM99999", "dev/ttyS0"}) {
    EXPECT_EQ(resolve_port(t, ""), "") << t;
    EXPECT_EQ(port_number(t), 0) << t;
  }
}

TEST(PortName, TheProfileMapsComPorts) {
  auto file = std::filesystem::temp_directory_path() / ("kq_ports_" + std::to_string(getpid()) + ".ini");
  {
    std::ofstream out(file);
    out << "[database]\nickcom=COM2\n[Ports]\ncom2 = /tmp/card-reader\nCOM3=not-a-path\n";
  }
  EXPECT_EQ(resolve_port("COM2", file.string()), "/tmp/card-reader");
  EXPECT_EQ(resolve_port("2", file.string()), "/tmp/card-reader");
  EXPECT_EQ(resolve_port("COM3", file.string()), "/dev/ttyS2");  // not a device path: the standard port
  EXPECT_EQ(resolve_port("COM1", file.string()), "/dev/ttyS0");
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace kq::serial
