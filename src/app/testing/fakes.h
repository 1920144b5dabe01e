// Fakes of the platform services for tests: no network, no files, no programs started, and a
// Program wired to a MemoryWindow.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/memory_window.h"
#include "app/program.h"

namespace vellox::fakes {

class NoHttp final : public HttpClient {
 public:
  Text get(const std::string&) override { return {}; }
};

class NoFiles final : public FileStore {
 public:
  std::optional<Text> readAll(const Text&) override { return std::nullopt; }
  bool writeAll(const Text&, const Text&) override { return false; }
  bool exists(const Text&) override { return false; }
};

class NoLauncher final : public Launcher {
 public:
  bool startProgram(const Text&, const std::vector<Text>&) override { return false; }
  bool openAddress(const Text&) override { return false; }
};

// A program over a window held in memory; `started()` runs the start-up and waits for it.
struct MemoryProgram {
  MemoryWindow window;
  NoHttp http;
  NoFiles files;
  NoLauncher launcher;
  Program program{window, {http, files, launcher}, ProgramConfig{}};

  MemoryProgram& started() {
    window.userOpens();
    program.waitForWorkers();
    return *this;
  }
  ProgramState& state() { return program.state(); }
};

}  // namespace vellox::fakes
