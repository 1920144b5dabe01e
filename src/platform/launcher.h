// Starting other programs: the CSV viewer after an export, the browser for a download page.
#pragma once

#include <vector>

#include "text/text.h"

namespace vellox {

class Launcher {
 public:
  virtual ~Launcher() = default;

  // Starts `program` with `arguments` (each passed as one argument, never through a shell) and
  // returns at once without waiting for it. Texts are GBK. Returns false when the program could
  // not be started.
  virtual bool startProgram(const Text& program, const std::vector<Text>& arguments) = 0;

  // Opens `address` in the user's default browser; returns false when no browser could be asked.
  virtual bool openAddress(const Text& address) = 0;
};

// Launcher for this desktop: posix_spawn for programs, xdg-open for addresses.
class SystemLauncher final : public Launcher {
 public:
  bool startProgram(const Text& program, const std::vector<Text>& arguments) override;
  bool openAddress(const Text& address) override;
};

}  // namespace vellox
