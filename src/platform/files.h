// Whole-file reads and writes for the CSV export and the configuration files.
//
// Paths arrive as Text (GBK), the way the window's file dialog hands them to the core; they are
// converted to the file system's own encoding here.
#pragma once

#include <optional>

#include "text/text.h"

namespace vellox {

class FileStore {
 public:
  virtual ~FileStore() = default;

  // Every byte of the file, or nothing when it cannot be read (missing, a folder, no rights).
  virtual std::optional<Text> readAll(const Text& path) = 0;

  // Creates or replaces the file with exactly `bytes`. The old content stays intact until the
  // new one is complete. Returns false when the file cannot be written.
  virtual bool writeAll(const Text& path, const Text& bytes) = 0;

  // True when a regular file exists at `path`.
  virtual bool exists(const Text& path) = 0;
};

// FileStore over the local file system.
class LocalFileStore final : public FileStore {
 public:
  std::optional<Text> readAll(const Text& path) override;
  bool writeAll(const Text& path, const Text& bytes) override;
  bool exists(const Text& path) override;
};

}  // namespace vellox
