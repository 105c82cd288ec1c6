#include "server/descriptor_headroom.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace kq::server {

bool descriptors_available(int count) {
  std::vector<int> opened;
  opened.reserve(count);
  bool all = true;
  for (int i = 0; i < count; ++i) {
    int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      all = false;
      break;
    }
    opened.push_back(fd);
  }
  for (int fd : opened) ::close(fd);
  return all;
}

}  // namespace kq::server
