// Fuzz target for the JSON library: arbitrary bytes are loaded and queried; small inputs are
// also checked against the reference transcription of the loading algorithm.
//
// Input layout: byte 0 selects standard paths (low bit); the bytes up to the first newline after
// it are a path; the rest is the JSON text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "json/json_document.h"
#include "json/json_reference.h"

using namespace vellox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t standardPaths = data[0] & 1;
  const Text rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t newline = rest.find('\n');
  const Text path = newline == Text::npos ? Text() : rest.substr(0, newline);
  const Text json = newline == Text::npos ? rest : rest.substr(newline + 1);

  JsonDocument doc;
  doc.Load(json, standardPaths);
  doc.GetMemberCount("searchResultInfo");
  doc.GetText("searchResultInfo.[1].searchResultfoTitle");
  doc.GetText(path);
  int32_t node = 0;
  doc.GetMemberCount(path, &node);
  const int32_t count = doc.tree().GetNodeCount();
  for (int32_t i = 1; i <= count && i <= 64; ++i) {
    // A node's path leads back to a node of the same name (the first of duplicates).
    const Text nodePath = doc.GetNodePath(i);
    doc.GetText(nodePath);
    doc.GetText(path, i);
  }
  JsonScanner scanner;
  scanner.QueryText(json, path, standardPaths != 0);

  if (json.size() <= 4096) {
    const JsonNodeTree expected = reference::load(json, standardPaths);
    if (expected.GetNodeCount() != doc.tree().GetNodeCount()) std::abort();
    for (int32_t i = 1; i <= expected.GetNodeCount(); ++i) {
      if (!(expected.node(i) == doc.tree().node(i))) std::abort();
      // Lookups among a node's children and after a node agree as well.
      const int32_t level = expected.GetLevel(i);
      const Text name = expected.GetName(i);
      const int32_t parent = expected.GetParent(i);
      if (expected.FindByName(level, name, parent) != doc.tree().FindByName(level, name, parent)) std::abort();
      if (expected.FindByName(level, name, i) != doc.tree().FindByName(level, name, i)) std::abort();
    }
  }
  return 0;
}
