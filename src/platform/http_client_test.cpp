#include "platform/http_client.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "text/codepage.h"

namespace vellox {
namespace {

using namespace std::chrono_literals;

// An httplib server on a free loopback port, served from a background thread for one test.
class LoopbackServer {
 public:
  explicit LoopbackServer(httplib::Server& server) : server_(server) {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~LoopbackServer() { stop(); }
  void stop() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  httplib::Server& server_;
  int port_ = 0;
  std::thread thread_;
};

const std::string kBeijingUtf8 = "北京市";
const Text kBeijingGbk = "\xB1\xB1\xBE\xA9\xCA\xD0";

TEST(HttpClient, BodyConversionFollowsTheContentType) {
  httplib::Server server;
  server.Get("/utf8", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(kBeijingUtf8, "application/json; charset=UTF-8");
  });
  server.Get("/utf8-plain", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(kBeijingUtf8, "text/html;charset=Utf-8");
  });
  server.Get("/gbk", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(kBeijingGbk, "text/plain");
  });
  server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("not here", "text/plain");
  });
  server.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.target, "text/plain");
  });
  LoopbackServer loopback(server);
  CurlHttpClient client;

  EXPECT_EQ(client.get(loopback.url("/utf8")), kBeijingGbk);
  EXPECT_EQ(client.get(loopback.url("/utf8-plain")), kBeijingGbk) << "charset in any letter case";
  EXPECT_EQ(client.get(loopback.url("/gbk")), kBeijingGbk) << "no charset: bytes pass through";
  EXPECT_EQ(client.get(loopback.url("/missing")), "not here") << "the status code is not examined";
  const std::string target = "/echo?w=%CE%E5&z=%E4%B8%AD:%3A&s=001%3B003";
  EXPECT_EQ(client.get(loopback.url(target)), target) << "the URL is sent exactly as built";
}

TEST(HttpClient, FailuresGiveTheEmptyText) {
  httplib::Server server;
  std::atomic<bool> released{false};
  server.Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
    for (int i = 0; i < 500 && !released; ++i) std::this_thread::sleep_for(10ms);
    res.set_content("late", "text/plain");
  });
  server.Get("/big", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(5000, 'x'), "text/plain");
  });
  server.Get("/big-chunked", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
      const std::string chunk(1000, 'y');
      for (int i = 0; i < 5; ++i) sink.write(chunk.data(), chunk.size());
      sink.done();
      return true;
    });
  });
  server.Get("/small", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(1000, 'z'), "text/plain");
  });
  LoopbackServer loopback(server);
  CurlHttpClient client({.timeout = 300ms, .maxBodyBytes = 1000});

  EXPECT_EQ(client.get(loopback.url("/slow")), "") << "time-out";
  released = true;
  EXPECT_EQ(client.get(loopback.url("/big")), "") << "body over the cap, length announced";
  EXPECT_EQ(client.get(loopback.url("/big-chunked")), "") << "body over the cap, length unknown";
  EXPECT_EQ(client.get(loopback.url("/small")), std::string(1000, 'z')) << "exactly the cap";
  EXPECT_EQ(client.get("ftp://127.0.0.1/x"), "") << "only http and https";
  EXPECT_EQ(client.get("not a url"), "");

  const std::string deadUrl = loopback.url("/small");
  loopback.stop();
  EXPECT_EQ(client.get(deadUrl), "") << "connection refused";
}

}  // namespace
}  // namespace vellox
