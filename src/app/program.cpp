#include "app/program.h"

#include <thread>

#include "app/status_display.h"
#include "app/window_layout.h"
#include "settings/default_settings.h"
#include "settings/field_list.h"
#include "settings/region_table.h"
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
  applyDefaultSettings(window_);
  fillProvincePicker(window_, *state_);
  window_.setCaption(utf8ToGbk(kFormCaption) + "_" + programVersionText());
  // The update notice comes last, once it exists.
}

void Program::onClicked(Control control) {
  if (control == Control::按钮_默认) applyDefaultSettings(window_);
}

void Program::onTextChanged(Control control) {
  switch (control) {
    case Control::编辑框_JSON_子路径: parseFieldList(window_, *state_); break;
    case Control::编辑框_JSON_titleNAME: rebuildColumnTitles(window_, *state_); break;
    case Control::编辑框_About: keepAboutText(window_); break;
    default: break;
  }
}

void Program::onItemSelected(Control control) {
  if (control == Control::组合框_地区) fillCityPicker(window_, *state_);
}

void Program::onTimerTick(Control timer) {
  if (timer == Control::时钟_状态条) updateStatusBar(window_, *state_);
}

}  // namespace vellox
