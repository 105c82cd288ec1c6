#pragma once
// Port texts as the configuration writes them, and the devices they name.
//
//   "/dev/ttyUSB0"   a device path (any text starting with "/") names itself;
//   "COM3", "com3"   port 3: the profile file's section "ports", key "COM3",
//                    when it holds a device path, else /dev/ttyS2;
//   "3"              the same as "COM3".
//
// Blanks around the text are ignored. Anything else (an empty text, "COM0",
// "0", "LPT1") names no port.
#include <string>
#include <string_view>

namespace kq::serial {

// The number n of "COMn" or "n" (n >= 1); 0 when the text is neither.
int port_number(std::string_view port_text);

// The device named by `port_text`, looking COMn up in `profile_file` (which
// may be empty or missing). Empty when the text names no port.
std::string resolve_port(std::string_view port_text, const std::string& profile_file);

}  // namespace kq::serial
