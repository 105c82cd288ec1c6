#pragma once
// The workstation protocol (docs/protocol.md) independent of the HTTP
// library: a request in, a response out. Every refusal is a JSON error
// {"error": {"status": N, "message": "..."}}; nothing a browser or a script
// sends can crash the server.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/backend.h"
#include "server/operator_check.h"
#include "server/request_admission.h"
#include "server/session_registry.h"
#include "server/sign_in_limiter.h"
#include "server/workstation.h"

namespace kq::server {

struct HttpRequest {
  std::string method;                         // "GET", "POST" …
  std::string path;                           // "/api/events"
  std::map<std::string, std::string> query;   // decoded query parameters
  std::string authorization;                  // the Authorization header, "" when absent
  std::string body;
  std::string remote_address;                 // the client's address, "" when unknown
  std::string host;                           // the Host header, "" when absent
  std::string origin;                         // the Origin header, "" when absent
  std::string content_type;                   // the Content-Type header, "" when absent
};

struct HttpResponse {
  int status = 200;
  std::string content_type = "application/json; charset=utf-8";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // further headers
};

class Api {
 public:
  struct Options {
    std::string db_path;   // the shop database file (the embedded default)
    // A database server instead of db_path: the connection every session,
    // sign-in and operator check opens (backend and server set). Several
    // processes may serve one server database; each holds its own sessions.
    std::optional<db::ConnectOptions> server;
    // The connection options of the shop's databases, and the folder of the
    // shop's local files (pb.ini): db_path's folder, or with a server the
    // folder the program was started in.
    db::ConnectOptions connect_options() const;
    std::string files_folder() const;
    HostFactory make_host; // the windows of each new session
    WaitLimits limits;
    // Password guessing at sign-in (see sign_in_limiter.h), and its clock.
    SignInLimiter::Policy sign_in_limits;
    std::function<std::chrono::steady_clock::time_point()> clock = std::chrono::steady_clock::now;
    // The names the server answers to besides the localhost names (its
    // listen address, the shop's LAN names); see request_admission.h.
    std::vector<std::string> host_names;
  };

  Api(Options options, SessionRegistry& sessions);

  // Answers one request; thread-safe (requests of different sessions run at
  // once, those of one session meet on its UI thread).
  HttpResponse handle(const HttpRequest& request);

 private:
  HttpResponse route_api(const HttpRequest& request, const std::vector<std::string>& parts);
  HttpResponse sign_in(const HttpRequest& request);
  HttpResponse with_session(const HttpRequest& request, const std::vector<std::string>& parts);
  HttpResponse static_file(const HttpRequest& request);

  Options options_;
  SessionRegistry& sessions_;
  SignInLimiter limiter_;
  HostNames host_names_;
  OperatorCheck operators_;
};

// A JSON error response carrying the status and the message; the error's
// detail (when there is one) goes to the server's log instead.
HttpResponse error_response(const ApiError& error);

}  // namespace kq::server
