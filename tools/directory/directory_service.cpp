#include "directory_service.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "text/codepage.h"

namespace vellox::directory {

struct DirectoryService::Impl {
  ServiceOptions options;
  httplib::Server server;
  std::thread thread;
  std::atomic<int> port{0};

  explicit Impl(ServiceOptions o) : options(std::move(o)) {
    server.Get("/get168.cgi", [this](const httplib::Request& req, httplib::Response& res) {
      delay();
      // The raw target keeps the query exactly as sent: w is GBK and must not be read as UTF-8.
      const std::size_t q = req.target.find('?');
      const SearchQuery query =
          parseSearchQuery(q == std::string::npos ? "" : std::string_view(req.target).substr(q + 1));
      std::string body = searchAnswer(query, options.generator);
      if (options.charset == Charset::kGbk) {
        res.set_content(utf8ToGbk(body), "application/json; charset=GBK");
      } else {
        res.set_content(std::move(body), "application/json; charset=utf-8");
      }
    });
    server.Get("/notice.html", [this](const httplib::Request&, httplib::Response& res) {
      delay();
      res.set_content(noticePage(options.generator, "127.0.0.1:" + std::to_string(port.load())),
                      "text/html; charset=utf-8");
    });
    server.Get(R"(/download/.*)", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("The substitute directory service offers no real download.\n",
                      "text/plain; charset=utf-8");
    });
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "vellox-directory: GET /get168.cgi?...&e=40&n=0&z=...&w=... or /notice.html\n",
          "text/plain; charset=utf-8");
    });
    server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
      if (options.log) {
        options.log(req.method + " " + req.target + " -> " + std::to_string(res.status) + ", " +
                    std::to_string(res.body.size()) + " bytes");
      }
    });
  }

  void delay() const {
    if (options.latencyMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(options.latencyMs));
    }
  }

  bool bind() {
    const int bound = options.port == 0 ? server.bind_to_any_port("127.0.0.1")
                                        : (server.bind_to_port("127.0.0.1", options.port)
                                               ? options.port
                                               : -1);
    if (bound <= 0) return false;
    port = bound;
    if (options.log) options.log("listening on http://127.0.0.1:" + std::to_string(bound));
    return true;
  }
};

DirectoryService::DirectoryService(ServiceOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

DirectoryService::~DirectoryService() { stop(); }

bool DirectoryService::start() {
  if (!impl_->bind()) return false;
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
  // httplib's stop() does nothing until the loop runs, so a stop right after start would leave
  // the thread listening forever; wait for the loop (a few milliseconds at most).
  for (int i = 0; i < 5000 && !impl_->server.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return impl_->server.is_running();
}

bool DirectoryService::run() { return impl_->bind() && impl_->server.listen_after_bind(); }

void DirectoryService::stop() {
  impl_->server.stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

int DirectoryService::port() const { return impl_->port; }

std::string DirectoryService::baseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port());
}

}  // namespace vellox::directory
