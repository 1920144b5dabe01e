#include "json/json_reference.h"

#include "json/json_document.h"
#include "pattern/cleanup.h"
#include "text/gbk_literal.h"

namespace vellox::reference {

using namespace literals;

void Scanner::SetText(const Text& text) {
  Text t = replaceAll(text, "\\\\", "\\|\\|", false);
  t = replaceAll(t, "\\\"", "\\''", false);
  t = replaceAll(t, "\\|\\|", "\\\\", false);
  t = compactBlanks(t);
  plain_ = t;
  masked_ = t;
  int32_t q = 0;
  int32_t n = 0;
  int32_t o = 0;
  while ((q = find('"', q + 1)) != -1) {
    if (++n % 2 == 1) {
      o = q;
    } else {
      for (int32_t i = o + 1; i < q; ++i) masked_[static_cast<std::size_t>(i - 1)] = ' ';
    }
  }
}

int32_t Scanner::find(char c, int32_t from) const {
  if (from < 1) from = 1;
  for (std::size_t i = static_cast<std::size_t>(from - 1); i < masked_.size(); ++i) {
    if (masked_[i] == c) return static_cast<int32_t>(i + 1);
  }
  return -1;
}

Text Scanner::GetSpan(int32_t from, int32_t to) const {
  Text out;
  for (int64_t i = int64_t{from} + 1; i <= int64_t{to} - 1; ++i) {
    if (i >= 1 && i <= static_cast<int64_t>(plain_.size())) out.push_back(plain_[static_cast<std::size_t>(i - 1)]);
  }
  return out;
}

bool Scanner::IsBalanced(int32_t from, int32_t to) const {
  if (from == -1 || to == -1) return false;
  auto count = [&](char c) {
    int32_t n = 0;
    for (int32_t hit = find(c, from + 1); hit != -1 && hit < to; hit = find(c, hit + 1)) ++n;
    return n;
  };
  if (count('{') != count('}')) return false;
  if (count('[') != count(']')) return false;
  return count('"') % 2 == 0;
}

Text Scanner::ReadKey(int32_t pos, int32_t& next) const {
  const char at = pos >= 1 && pos <= static_cast<int32_t>(masked_.size()) ? masked_[static_cast<std::size_t>(pos - 1)] : '\0';
  if (at != '{' && at != ',') {
    const int32_t o = find('{', pos);
    if (o != -1 && o > pos) pos = o;
  }
  const int32_t b = find('"', pos);
  const int32_t c = find('"', b + 1);
  next = pos;
  do {
    next = find(':', next + 1);
  } while (!(next == -1 || next < b || next > c));
  if (next == -1) return "超出"_gbk;
  return stripQuotes(GetSpan(pos, next));
}

Text Scanner::ReadValue(int32_t pos, int32_t& next) const {
  next = pos;
  int32_t mark = 0;
  for (;;) {
    const int32_t ob = find('[', next + 1);
    const int32_t oc = find('{', next + 1);
    const int32_t cm = find(',', next + 1);
    const int32_t cl = find('}', next + 1);
    if (cm != -1 && (cm < cl || cl == -1)) {
      next = cm;
    } else if (cl != -1) {
      next = cl;
    } else {
      next = static_cast<int32_t>(masked_.size()) + 1;
    }
    bool toStep7 = false;
    if (ob != -1 && ob < next) {
      next = find(']', ob + 1);
      toStep7 = next != -1;
    } else if (oc != -1 && oc < next) {
      next = find('}', oc + 1);
      toStep7 = next != -1;
    }
    if (!toStep7) {
      if (next == mark || next == -1 || next < mark) {
        next = -1;
        return "超出"_gbk;
      }
      mark = next;
    }
    if (IsBalanced(pos, next)) return GetSpan(pos, next);
  }
}

int32_t Scanner::SplitObject(const Text& text, bool prepare, std::vector<JsonMember>& members) {
  if (prepare) SetText(text);
  int32_t p = find('{', 1);
  members.clear();
  do {
    Text key = ReadKey(p, p);
    if (p == -1) break;
    Text value = ReadValue(p, p);
    if (p == -1) break;
    members.push_back({key, trimBlanks(value)});
  } while (p != -1);
  return static_cast<int32_t>(members.size());
}

int32_t Scanner::SplitArray(const Text& text, bool prepare, std::vector<Text>& elements) {
  if (prepare) SetText(text);
  elements.clear();
  int32_t b = find('[', 1);
  while (b != -1) {
    int32_t c = b;
    do {
      const int32_t d = c + 1;
      c = find(',', d);
      if (c == -1) c = find(']', d);
    } while (!(IsBalanced(b, c) || c == -1));
    if (c == -1) break;
    elements.push_back(trimBlanks(GetSpan(b, c)));
    b = c;
  }
  if (elements.size() == 1 && elements[0].empty()) elements.clear();
  return static_cast<int32_t>(elements.size());
}

int32_t Scanner::SplitTop(const Text& text, std::vector<JsonMember>& members,
                          std::vector<Text>& elements, int32_t& kind) {
  Text t = text;
  for (int pass = 1; pass <= 2; ++pass) {
    SetText(t);
    const int32_t o = find('{', 1);
    const int32_t a = find('[', 1);
    if (o == -1 && a == -1) {
      t = "[" + text + "]";
      continue;
    }
    if (o == -1) {
      kind = 2;
      return SplitArray(t, false, elements);
    }
    if (a == -1) {
      kind = 1;
      return SplitObject(t, false, members);
    }
    if (o < a) {
      kind = 1;
      return SplitObject(t, false, members);
    }
    kind = 2;
    return SplitArray(t, false, elements);
  }
  return 0;
}

namespace {

struct Loader {
  Scanner scanner;
  JsonNodeTree tree;
  int32_t standardPaths = 0;

  void add(int32_t parent, const Text& name, const Text& value) {
    const int kind = JsonScanner::KindOf(value);
    const bool descend = kind != 0 && tree.GetLevel(parent) + 1 < kMaxJsonDepth;
    if (kind == 1 && descend) {
      std::vector<JsonMember> members;
      scanner.SplitObject(value, true, members);
      const int32_t n = tree.InsertNode(parent, name, 1, value);
      for (const JsonMember& m : members) add(n, m.key, m.value);
    } else if (kind == 2 && descend) {
      std::vector<Text> elements;
      scanner.SplitArray(value, true, elements);
      const int32_t n = tree.InsertNode(parent, name, 2, value);
      addElements(elements, n);
    } else {
      tree.InsertNode(parent, name, kind, value);
    }
  }

  void addElements(const std::vector<Text>& elements, int32_t parent) {
    for (std::size_t i = 1; i <= elements.size(); ++i) {
      add(parent, "[" + intToText(static_cast<int64_t>(i) - standardPaths) + "]", elements[i - 1]);
    }
  }
};

}  // namespace

JsonNodeTree load(const Text& json, int32_t standardPaths) {
  Loader loader;
  loader.standardPaths = standardPaths != 0 ? 1 : 0;
  std::vector<JsonMember> members;
  std::vector<Text> elements;
  int32_t kind = 0;
  loader.scanner.SplitTop(json, members, elements, kind);
  if (kind == 2) {
    const int32_t root = loader.tree.InsertNode(0, "JSON", 2, json);
    loader.addElements(elements, root);
  } else {
    const int32_t root = loader.tree.InsertNode(0, "JSON", 1, json);
    for (const JsonMember& m : members) loader.add(root, m.key, m.value);
  }
  return loader.tree;
}

}  // namespace vellox::reference
