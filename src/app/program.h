// Program: owns the program-wide state, holds the window and the platform services, and receives
// the window's events. Every part of the program is a plain function over these; none knows the
// toolkit that draws the window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/program_config.h"
#include "app/program_state.h"
#include "app/window.h"
#include "platform/files.h"
#include "platform/http_client.h"
#include "platform/launcher.h"

namespace vellox {

struct PlatformServices {
  HttpClient& http;
  FileStore& files;
  Launcher& launcher;
};

class Program final : public WindowEvents {
 public:
  // Creates the program-wide state (initGlobals) and registers for the window's events.
  Program(Window& window, PlatformServices services, ProgramConfig config);
  // Waits for running workers, then releases the program-wide state (releaseGlobals).
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ProgramState& state() { return *state_; }
  Window& window() { return window_; }
  const ProgramConfig& config() const { return config_; }
  PlatformServices& services() { return services_; }

  // --- window events (on the window's thread) ---
  void onCreated() override;
  void onClicked(Control control) override;
  void onTextChanged(Control control) override;
  void onItemSelected(Control control) override;
  void onTimerTick(Control timer) override;

  // Runs `routine` on a new thread and returns at once. Nothing waits for the thread or stops
  // it; an exception that escapes the routine ends only that routine.
  void startWorker(std::function<void()> routine);
  // Number of workers still running.
  int activeWorkers() const { return activeWorkers_; }
  // Blocks until no worker runs (for tests and the command line; never on the window's thread
  // while a worker may need it).
  void waitForWorkers();

  // The start-up work, on the start-up worker: default settings, region pickers, the caption
  // with the version, the update notice.
  void startupSequence();

 private:
  void initGlobals();
  void releaseGlobals();

  Window& window_;
  PlatformServices services_;
  ProgramConfig config_;
  std::unique_ptr<ProgramState> state_;

  std::atomic<int> activeWorkers_{0};
  std::mutex workersMutex_;
  std::condition_variable workersDone_;
};

}  // namespace vellox
