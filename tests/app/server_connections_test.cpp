// The workstation over loopback HTTP while other clients hold connections
// open without sending anything.
#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "server/http_server.h"
#include "server_harness.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerConnections : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    http_ = std::make_unique<server::HttpServer>(*api_);
    auto port = http_->bind("127.0.0.1", 0);
    ASSERT_TRUE(port) << port.error();
    port_ = *port;
    thread_ = std::thread([this] { http_->run(); });
  }
  void TearDown() override {
    for (int fd : idle_) ::close(fd);
    http_->stop();
    if (thread_.joinable()) thread_.join();
    http_.reset();
    ServerTest::TearDown();
  }

  // Opens `count` connections to the server that send nothing; the number opened.
  int hold_idle_connections(int count) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port_));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < count; ++i) {
      int fd = ::socket(AF_INET, SOCK_STREAM, 0);
      if (fd < 0) break;
      if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        break;
      }
      idle_.push_back(fd);
    }
    return static_cast<int>(idle_.size());
  }

  std::unique_ptr<server::HttpServer> http_;
  std::thread thread_;
  int port_ = 0;
  std::vector<int> idle_;
};

// 200 idle connections used to take every worker for the keep-alive timeout
// each, so that a cashier's request waited half a minute.
TEST_F(ServerConnections, IdleConnectionsDoNotDelayASignedInCashier) {
  httplib::Client client("127.0.0.1", port_);
  client.set_connection_timeout(5);
  client.set_read_timeout(10);
  auto signin = client.Post("/api/signin", R"({"company":"01","operator":"004","password":"kq01004"})",
                            "application/json");
  ASSERT_TRUE(signin) << httplib::to_string(signin.error());
  ASSERT_EQ(signin->status, 200) << signin->body;
  const std::string token = json::parse(signin->body)["token"];

  ASSERT_EQ(hold_idle_connections(200), 200);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the server has accepted them

  httplib::Client cashier("127.0.0.1", port_);
  cashier.set_connection_timeout(5);
  cashier.set_read_timeout(10);
  const auto started = std::chrono::steady_clock::now();
  auto session = cashier.Get("/api/session", httplib::Headers{{"Authorization", "Bearer " + token}});
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  ASSERT_TRUE(session) << httplib::to_string(session.error()) << " after " << took.count() << " ms";
  EXPECT_EQ(session->status, 200) << session->body;
  EXPECT_LT(took.count(), 1000) << "a request with 200 idle connections held took " << took.count() << " ms";
}

}  // namespace
}  // namespace kq::testing
