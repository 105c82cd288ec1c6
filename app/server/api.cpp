#include "server/api.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "platform/dw/render/html_stylesheet.h"
#include "platform/value/datetime.h"
#include "server/request_body.h"
#include "server/sign_in.h"
#include "server/web_assets.h"

namespace kq::server {

using nlohmann::json;

namespace {

HttpResponse json_response(const json& body, int status = 200) {
  HttpResponse r;
  r.status = status;
  r.body = body.dump(-1, ' ', false, json::error_handler_t::replace);
  return r;
}

std::vector<std::string> split_path(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash > start) parts.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

std::optional<long long> to_integer(const std::string& text) {
  long long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

Expected<json> parse_body(const HttpRequest& request) { return parse_request_body(request.body); }

// The routes of the protocol, by the parts of their path.
enum class Route { None, SignIn, SignOut, Session, Menu, Windows, Events, Dialog, Wait, Rows, Items, Pdf, PreviewPdf,
                   PreviewPrint };

Route match(const std::vector<std::string>& p) {
  if (p.size() == 2) {
    if (p[1] == "signin") return Route::SignIn;
    if (p[1] == "signout") return Route::SignOut;
    if (p[1] == "session") return Route::Session;
    if (p[1] == "menu") return Route::Menu;
    if (p[1] == "windows") return Route::Windows;
    if (p[1] == "events") return Route::Events;
    if (p[1] == "dialog") return Route::Dialog;
    if (p[1] == "wait") return Route::Wait;
  }
  if (p.size() == 6 && p[1] == "windows" && p[3] == "controls") {
    if (p[5] == "rows") return Route::Rows;
    if (p[5] == "items") return Route::Items;
    if (p[5] == "pdf") return Route::Pdf;
  }
  if (p.size() == 4 && p[1] == "dialogs" && p[3] == "pdf") return Route::PreviewPdf;
  if (p.size() == 4 && p[1] == "dialogs" && p[3] == "print") return Route::PreviewPrint;
  return Route::None;
}

bool method_allowed(Route route, const std::string& method) {
  switch (route) {
    case Route::SignIn:
    case Route::Windows: return method == "GET" || method == "POST";
    case Route::Session:
    case Route::Menu:
    case Route::Rows:
    case Route::Items:
    case Route::Pdf:
    case Route::PreviewPdf: return method == "GET";
    case Route::SignOut:
    case Route::Events:
    case Route::Dialog:
    case Route::PreviewPrint:
    case Route::Wait: return method == "POST";
    case Route::None: return false;
  }
  return false;
}

// The answer to a request that started, resumed or waited for an event.
HttpResponse stop_response(const Stop& stop) {
  if (stop.error) return error_response(*stop.error);
  json body = stop.body.is_object() ? stop.body : json::object();
  if (!body.contains("windows")) body["windows"] = json::array();
  if (!body.contains("closed")) body["closed"] = json::array();
  if (body.contains("dialog") && body["dialog"].is_object() && body["dialog"].value("kind", "") == "preview") {
    body["dialog"]["pdf"] = "/api/dialogs/" + body["dialog"]["id"].dump() + "/pdf";
    if (body["dialog"].contains("printer"))
      body["dialog"]["print"] = "/api/dialogs/" + body["dialog"]["id"].dump() + "/print";
  }
  return json_response(body);
}

HttpResponse pdf_response(Expected<std::string> pdf, const std::string& name) {
  if (!pdf) return error_response(pdf.error());
  HttpResponse r;
  r.content_type = "application/pdf";
  r.body = std::move(*pdf);
  r.headers.emplace_back("Content-Disposition", "inline; filename=\"" + name + ".pdf\"");
  return r;
}

std::string bearer_token(const std::string& header) {
  static const std::string prefix = "Bearer ";
  if (header.size() <= prefix.size() || header.compare(0, prefix.size(), prefix) != 0) return "";
  return header.substr(prefix.size());
}

}  // namespace

HttpResponse error_response(const ApiError& error) {
  if (!error.detail.empty())
    std::fprintf(stderr, "kq_svc_309 serve: %d %s (%s)\n", error.status, error.message.c_str(), error.detail.c_str());
  return json_response(json{{"error", {{"status", error.status}, {"message", error.message}}}}, error.status);
}

db::ConnectOptions Api::Options::connect_options() const {
  if (server) return *server;
  db::ConnectOptions options;
  options.database = db_path;
  return options;
}

std::string Api::Options::files_folder() const {
  if (server) {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
  }
  return std::filesystem::path(db_path).parent_path().string();
}

Api::Api(Options options, SessionRegistry& sessions)
    : options_(std::move(options)),
      sessions_(sessions),
      limiter_(options_.sign_in_limits, options_.clock),
      host_names_(options_.host_names),
      operators_(options_.connect_options()) {}

HttpResponse Api::handle(const HttpRequest& request) {
  try {
    std::vector<std::string> parts = split_path(request.path);
    if (!parts.empty() && parts[0] == "api") {
      RequestOrigin from{request.method, request.host, request.origin, request.content_type};
      if (auto refused = admit_api_request(from, host_names_)) return error_response(*refused);
      return route_api(request, parts);
    }
    return static_file(request);
  } catch (const std::exception& e) {
    return error_response(internal_error("服务器内部错误，请稍后再试", e.what()));
  }
}

HttpResponse Api::static_file(const HttpRequest& request) {
  if (request.method != "GET" && request.method != "HEAD") return error_response({405, "只能用 GET 读取页面"});
  std::string path = request.path;
  if (path.empty() || path == "/") path = "/index.html";
  HttpResponse r;
  if (path == "/dw.css") {
    r.content_type = "text/css; charset=utf-8";
    r.body = std::string(dw::html_stylesheet());
    return r;
  }
  if (path.find("..") != std::string::npos) return error_response(not_found("没有这个页面"));
  auto file = web_asset(std::string_view(path).substr(1));
  if (!file) return error_response(not_found("没有这个页面: " + path));
  r.content_type = std::string(content_type_for(path));
  r.body = std::string(*file);
  return r;
}

HttpResponse Api::route_api(const HttpRequest& request, const std::vector<std::string>& parts) {
  Route route = match(parts);
  if (route == Route::None) return error_response(not_found("没有这个接口: " + request.path));
  if (!method_allowed(route, request.method))
    return error_response({405, "接口 " + request.path + " 不接受 " + request.method});
  if (route == Route::SignIn) {
    if (request.method == "GET") {
      return json_response(json{{"companies", company_list(options_.connect_options())},
                                {"today", DateTime::now().to_date_string()}});
    }
    return sign_in(request);
  }
  return with_session(request, parts);
}

HttpResponse Api::sign_in(const HttpRequest& request) {
  auto body = parse_body(request);
  if (!body) return error_response(body.error());
  auto credentials = credentials_from_json(*body);
  if (!credentials) return error_response(credentials.error());
  // Refused before the password is looked at while too many guesses failed.
  auto attempt = limiter_.begin(credentials->company, credentials->operator_code, request.remote_address);
  if (!attempt) {
    HttpResponse refused = error_response(attempt.error());
    long long wait = limiter_.wait_seconds(credentials->company, credentials->operator_code, request.remote_address);
    refused.headers.emplace_back("Retry-After", std::to_string(wait > 0 ? wait : 1));
    return refused;
  }
  if (auto full = sessions_.full()) {
    attempt->not_counted();
    return error_response(*full);
  }
  auto signed_in = server::sign_in(options_.connect_options(), options_.files_folder(), *credentials);
  if (!signed_in) {
    // A wrong password, an unknown operator or company is a guess that failed.
    if (signed_in.error().status == 401) attempt->failed();
    else attempt->not_counted();
    return error_response(signed_in.error());
  }
  attempt->succeeded();
  auto w = std::make_shared<Workstation>(std::move(signed_in->session), options_.make_host, options_.limits);
  w->set_company_name(signed_in->company_name);
  json session = w->describe_session();
  auto token = sessions_.add(std::move(w));
  if (!token) return error_response(token.error());
  return json_response(json{{"token", *token},
                            {"session", std::move(session)},
                            {"idle_limit_seconds", sessions_.idle_limit().count()}});
}

HttpResponse Api::with_session(const HttpRequest& request, const std::vector<std::string>& parts) {
  const Route route = match(parts);
  const std::string token = bearer_token(request.authorization);
  std::shared_ptr<Workstation> w = token.empty() ? nullptr : sessions_.find(token);
  if (!w) return error_response(unauthorized("会话无效或已过期，请重新登录"));
  // An operator stopped meanwhile loses the session at this request.
  if (auto refused = operators_.check(w->company_code(), w->operator_code())) {
    if (refused->status == 401) sessions_.remove(token);
    return error_response(*refused);
  }

  switch (route) {
    case Route::SignOut:
      sessions_.remove(token);
      return json_response(json{{"signed_out", true}});
    case Route::Session:
      return json_response(w->describe_session());
    case Route::Menu: {
      auto menu = w->menu();
      return menu ? json_response(*menu) : error_response(menu.error());
    }
    case Route::Windows: {
      if (request.method == "GET") {
        auto all = w->windows();
        return all ? json_response(*all) : error_response(all.error());
      }
      auto body = parse_body(request);
      if (!body) return error_response(body.error());
      if (!body->contains("class") || !(*body)["class"].is_string())
        return error_response(bad_request("打开窗口须给出 \"class\""));
      return stop_response(w->open((*body)["class"].get<std::string>()));
    }
    case Route::Events: {
      auto body = parse_body(request);
      if (!body) return error_response(body.error());
      return stop_response(w->fire(std::move(*body)));
    }
    case Route::Dialog: {
      auto body = parse_body(request);
      if (!body) return error_response(body.error());
      if (!body->contains("dialog") || !(*body)["dialog"].is_number_integer())
        return error_response(bad_request("回答须给出对话框的整数 \"dialog\""));
      if (!body->contains("answer")) return error_response(bad_request("回答须给出 \"answer\""));
      return stop_response(w->answer((*body)["dialog"].get<int>(), (*body)["answer"]));
    }
    case Route::Wait:
      return stop_response(w->wait());
    case Route::Rows:
    case Route::Items: {
      auto id = to_integer(parts[2]);
      if (!id) return error_response(bad_request("窗口编号须为整数"));
      auto first = to_integer(request.query.count("first") ? request.query.at("first") : "1");
      auto count = to_integer(request.query.count("count") ? request.query.at("count") : "100");
      if (!first || !count || *first < 1 || *first > 1'000'000'000 || *count < 1 || *count > 1000)
        return error_response(bad_request("first 须为正整数，count 须为 1 到 1000 的整数"));
      auto rows = route == Route::Rows
                      ? w->rows(*id, parts[4], static_cast<long>(*first), static_cast<long>(*count))
                      : w->items(*id, parts[4], static_cast<long>(*first), static_cast<long>(*count));
      return rows ? json_response(*rows) : error_response(rows.error());
    }
    case Route::Pdf: {
      auto id = to_integer(parts[2]);
      if (!id) return error_response(bad_request("窗口编号须为整数"));
      return pdf_response(w->pdf(*id, parts[4]), parts[4]);
    }
    case Route::PreviewPdf: {
      auto id = to_integer(parts[2]);
      if (!id || *id < 0 || *id > 1'000'000'000) return error_response(bad_request("对话框编号须为整数"));
      return pdf_response(w->preview_pdf(static_cast<int>(*id)), "preview");
    }
    case Route::PreviewPrint: {
      auto id = to_integer(parts[2]);
      if (!id || *id < 0 || *id > 1'000'000'000) return error_response(bad_request("对话框编号须为整数"));
      auto body = parse_body(request);
      if (!body) return error_response(body.error());
      if (!body->is_object()) return error_response(bad_request("请求须为 JSON 对象"));
      const json copies = body->value("copies", json(1));
      if (!copies.is_number_integer() || copies.get<long long>() < 1 || copies.get<long long>() > 9)
        return error_response(bad_request("打印份数须为 1 到 9 之间的整数"));
      auto printed = w->preview_print(static_cast<int>(*id), copies.get<int>());
      return printed ? json_response(*printed) : error_response(printed.error());
    }
    case Route::SignIn:
    case Route::None:
      break;
  }
  return error_response(not_found("没有这个接口: " + request.path));
}

}  // namespace kq::server
