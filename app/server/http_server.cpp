#include "server/http_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include "server/request_body.h"
#include "server/worker_pool.h"

namespace kq::server {

namespace {

// A connection holds a worker while it waits for its request (at most the
// keep-alive timeout when it sends nothing, the read timeout between two
// pieces of a request) and while its request runs (long polls wait for an
// event). Workers are started as connections need them, up to the ceiling.
constexpr WorkerPool::Limits kWorkers{8, 512, std::chrono::seconds(30)};
constexpr time_t kKeepAliveSeconds = 2;
constexpr time_t kReadTimeoutSeconds = 10;
constexpr time_t kWriteTimeoutSeconds = 10;
constexpr size_t kRequestsPerConnection = 100;
// Connections the system queues until they are accepted (the library asks
// for 5, which a burst of connections overflows: the ones dropped retry
// only after a second or more).
constexpr int kListenBacklog = 1024;

HttpRequest to_request(const httplib::Request& req) {
  HttpRequest r;
  r.method = req.method;
  r.path = req.path;
  for (const auto& [key, value] : req.params) r.query.emplace(key, value);
  r.authorization = req.get_header_value("Authorization");
  r.host = req.get_header_value("Host");
  r.origin = req.get_header_value("Origin");
  r.content_type = req.get_header_value("Content-Type");
  r.body = req.body;
  r.remote_address = req.remote_addr;
  return r;
}

void to_response(const HttpResponse& from, httplib::Response& res) {
  res.status = from.status;
  for (const auto& [name, value] : from.headers) res.set_header(name, value);
  res.set_header("X-Content-Type-Options", "nosniff");
  res.set_header("Referrer-Policy", "no-referrer");
  res.set_header("X-Frame-Options", "DENY");
  res.set_header("Cache-Control", "no-store");
  res.set_header("Content-Security-Policy",
                 "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data: blob:; "
                 "frame-src 'self' blob:; object-src 'none'; base-uri 'none'; frame-ancestors 'none'");
  res.set_content(from.body, from.content_type.c_str());
}

}  // namespace

HttpServer::HttpServer(Api& api) : api_(api), server_(std::make_unique<httplib::Server>()) {
  server_->new_task_queue = [] { return new WorkerPool(kWorkers); };
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  server_->set_keep_alive_max_count(kRequestsPerConnection);
  server_->set_read_timeout(kReadTimeoutSeconds, 0);
  server_->set_idle_interval(1, 0);  // the pool joins retired workers when no connection comes
  server_->set_socket_options([this](socket_t sock) {
    httplib::default_socket_options(sock);
    listening_socket_ = sock;
  });
  server_->set_write_timeout(kWriteTimeoutSeconds, 0);
  server_->set_payload_max_length(kMaxBodyBytes);
  auto handler = [this](const httplib::Request& req, httplib::Response& res) {
    to_response(api_.handle(to_request(req)), res);
  };
  const char* any = R"(/.*)";
  server_->Get(any, handler);
  server_->Post(any, handler);
  server_->Put(any, handler);
  server_->Patch(any, handler);
  server_->Delete(any, handler);
  server_->Options(any, handler);
  server_->set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    std::string message = "请求无法处理 (HTTP " + std::to_string(res.status) + ")";
    if (res.status == 400) message += "：请求格式错误（POST 请求须带正文，例如 {}）";
    if (res.status == 413) message = "请求正文过大";
    HttpResponse e = error_response(ApiError{res.status, message});
    to_response(e, res);
  });
}

HttpServer::~HttpServer() = default;

Result<int> HttpServer::bind(const std::string& address, int port) {
  int bound = port;
  if (port == 0) {
    bound = server_->bind_to_any_port(address);
    if (bound <= 0) return make_error("cannot listen on " + address);
  } else if (!server_->bind_to_port(address, port)) {
    return make_error("cannot listen on " + address + ":" + std::to_string(port) + " (in use, or not an address of this machine)");
  }
  // Listening again on a listening socket only sets its backlog.
  if (listening_socket_ >= 0) ::listen(listening_socket_, kListenBacklog);
  return bound;
}

bool HttpServer::run() { return server_->listen_after_bind(); }

void HttpServer::stop() { server_->stop(); }

}  // namespace kq::server
