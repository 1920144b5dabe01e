// The substitute directory service: an HTTP server on loopback that answers the search endpoint
// (/get168.cgi) with generated listings and serves the update-notice page (/notice.html).
// Tests start it in-process on a free port; vellox-directory runs it as a program.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "listing_generator.h"

namespace vellox::directory {

struct ServiceOptions {
  GeneratorOptions generator;
  // 0 binds a free port (see port()).
  int port = 8168;
  // Delay before every answer, to make a slow network visible.
  int latencyMs = 0;
  // Encoding of the search answers; the Content-Type names it.
  Charset charset = Charset::kUtf8;
  // Receives one line per request; none when empty.
  std::function<void(const std::string&)> log;
};

class DirectoryService {
 public:
  explicit DirectoryService(ServiceOptions options);
  ~DirectoryService();  // stops the service
  DirectoryService(const DirectoryService&) = delete;
  DirectoryService& operator=(const DirectoryService&) = delete;

  // Binds 127.0.0.1 and serves from a background thread. False when the port cannot be bound.
  bool start();
  // Binds 127.0.0.1 and serves on the calling thread until stop(). False when it cannot bind.
  bool run();
  // Stops serving and waits for the background thread.
  void stop();
  // The bound port (after start() or inside run()).
  int port() const;
  // "http://127.0.0.1:<port>"
  std::string baseUrl() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vellox::directory
