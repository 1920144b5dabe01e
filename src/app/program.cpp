#include "app/program.h"

#include <thread>

#include "app/status_display.h"
#include "app/window_layout.h"
#include "text/codepage.h"

namespace vellox {

Program::Program(Window& window, PlatformServices services, ProgramConfig config)
    : window_(window), services_(services), config_(std::move(config)) {
  initGlobals();
  window_.setEvents(this);
}

Program::~Program() {
  window_.setEvents(nullptr);
  waitForWorkers();
  releaseGlobals();
}

void Program::initGlobals() { state_ = std::make_unique<ProgramState>(); }

void Program::releaseGlobals() { state_.reset(); }

void Program::startWorker(std::function<void()> routine) {
  ++activeWorkers_;
  std::thread([this, routine = std::move(routine)] {
    try {
      routine();
    } catch (...) {
      // A worker's failure must not take the process down or cross into another thread; the
      // routine is abandoned, as a closed window abandons a run.
    }
    const std::lock_guard lock(workersMutex_);
    if (--activeWorkers_ == 0) workersDone_.notify_all();
  }).detach();
}

void Program::waitForWorkers() {
  std::unique_lock lock(workersMutex_);
  workersDone_.wait(lock, [this] { return activeWorkers_ == 0; });
}

void Program::onCreated() {
  startWorker([this] { startupSequence(); });
}

void Program::startupSequence() {
  // Step 1, the default settings, and step 2, the region pickers, run here first once the
  // settings exist; the update notice follows the caption as the last step.
  window_.setCaption(utf8ToGbk(kFormCaption) + "_" + programVersionText());
}

void Program::onClicked(Control) {}

void Program::onTextChanged(Control) {}

void Program::onItemSelected(Control) {}

void Program::onTimerTick(Control timer) {
  if (timer == Control::时钟_状态条) updateStatusBar(window_, *state_);
}

}  // namespace vellox
