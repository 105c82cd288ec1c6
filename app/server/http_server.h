#pragma once
// The workstation's HTTP listener (cpp-httplib): every request goes to the
// Api; every answer carries headers that keep the browser from sniffing
// types, caching session data or framing the pages.
#include <memory>
#include <string>

#include "platform/result.h"
#include "server/api.h"

namespace httplib {
class Server;
}

namespace kq::server {

class HttpServer {
 public:
  explicit HttpServer(Api& api);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds `address`:`port` (port 0: a free port); returns the port bound.
  Result<int> bind(const std::string& address, int port);
  // Serves until stop(); false when it could not listen.
  bool run();
  // Ends run(); callable from any thread (and from a signal-watching thread).
  void stop();

 private:
  Api& api_;
  std::unique_ptr<httplib::Server> server_;
  int listening_socket_ = -1;  // seen when the library creates it
};

}  // namespace kq::server
