#define PCRE2_CODE_UNIT_WIDTH 16
#include "pattern/regex.h"

#include <pcre2.h>

#include <string>
#include <vector>

#include "text/codepage.h"

namespace vellox {
namespace detail {

// A user's pattern must not be able to hang the program: a search that needs more backtracking
// steps than this gives up and counts as finding nothing.
constexpr uint32_t kMatchLimit = 2'000'000;

struct CodeFree {
  void operator()(pcre2_code_16* code) const { pcre2_code_free_16(code); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context_16* context) const { pcre2_compile_context_free_16(context); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context_16* context) const { pcre2_match_context_free_16(context); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data_16* data) const { pcre2_match_data_free_16(data); }
};

// One match: [0] the whole match, [1..] the groups; start == npos for an unset group.
struct Span {
  std::size_t start = std::u16string::npos;
  std::size_t length = 0;
};

struct MatchList {
  std::u16string subject;
  std::vector<std::vector<Span>> matches;
};

class CompiledPattern {
 public:
  CompiledPattern(const Text& pattern, bool ignoreCase, bool multiline, bool global)
      : pattern_(pattern), global_(global) {
    const std::unique_ptr<pcre2_compile_context_16, CompileContextFree> compileContext(
        pcre2_compile_context_create_16(nullptr));
    if (!compileContext) return;
    pcre2_set_newline_16(compileContext.get(), PCRE2_NEWLINE_ANYCRLF);
    uint32_t options = PCRE2_UTF | PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY;
    if (ignoreCase) options |= PCRE2_CASELESS;
    if (multiline) options |= PCRE2_MULTILINE;
    const std::u16string utf16 = gbkToUtf16(pattern);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    code_.reset(pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(utf16.data()), utf16.size(),
                                 options, &error, &errorOffset, compileContext.get()));
    if (!code_) return;
    matchContext_.reset(pcre2_match_context_create_16(nullptr));
    if (!matchContext_) {
      code_.reset();
      return;
    }
    pcre2_set_match_limit_16(matchContext_.get(), kMatchLimit);
    pcre2_pattern_info_16(code_.get(), PCRE2_INFO_CAPTURECOUNT, &groups_);
  }

  bool compiled() const { return code_ != nullptr; }
  const Text& pattern() const { return pattern_; }

  // Every match in `subject` (the first only when not global). False when the pattern does not
  // compile or a search failed (match limit, bad input).
  bool findAll(std::u16string_view subject, std::vector<std::vector<Span>>& out) const {
    out.clear();
    if (!code_) return false;
    const std::unique_ptr<pcre2_match_data_16, MatchDataFree> data(
        pcre2_match_data_create_from_pattern_16(code_.get(), nullptr));
    if (!data) return false;
    const auto* text = reinterpret_cast<PCRE2_SPTR16>(subject.data());
    std::size_t start = 0;
    while (start <= subject.size()) {
      const int rc = pcre2_match_16(code_.get(), text, subject.size(), start, 0, data.get(),
                                    matchContext_.get());
      if (rc == PCRE2_ERROR_NOMATCH) break;
      if (rc < 0) {
        out.clear();
        return false;
      }
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data.get());
      std::vector<Span> match(groups_ + 1);
      for (uint32_t g = 0; g <= groups_; ++g) {
        // Groups beyond rc did not take part; PCRE2 marks unset pairs with PCRE2_UNSET.
        if (static_cast<int>(g) < rc && ovector[2 * g] != PCRE2_UNSET) {
          match[g] = {ovector[2 * g], ovector[2 * g + 1] - ovector[2 * g]};
        }
      }
      const std::size_t end = match[0].start + match[0].length;
      const bool empty = match[0].length == 0;
      out.push_back(std::move(match));
      if (!global_) break;
      if (!empty) {
        start = end;
        continue;
      }
      // An empty match: the next search starts one character later (never inside a surrogate
      // pair), as the scripting engines do.
      start = end + 1;
      if (start < subject.size() && (subject[start] & 0xFC00) == 0xDC00 &&
          (subject[start - 1] & 0xFC00) == 0xD800) {
        ++start;
      }
    }
    return true;
  }

  uint32_t groups() const { return groups_; }

 private:
  Text pattern_;
  bool global_;
  std::unique_ptr<pcre2_code_16, CodeFree> code_;
  std::unique_ptr<pcre2_match_context_16, MatchContextFree> matchContext_;
  uint32_t groups_ = 0;
};

namespace {

std::u16string_view spanText(const std::u16string& subject, const Span& span) {
  if (span.start == std::u16string::npos) return {};
  return std::u16string_view(subject).substr(span.start, span.length);
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Appends the replacement template expanded for one match, as the scripting engines expand it.
void expandTemplate(std::u16string& out, std::u16string_view replacement,
                    const std::u16string& subject, const std::vector<Span>& match) {
  const std::size_t groups = match.size() - 1;
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      out.append(spanText(subject, match[0]));
      ++i;
    } else if (next == u'`') {
      out.append(std::u16string_view(subject).substr(0, match[0].start));
      ++i;
    } else if (next == u'\'') {
      out.append(std::u16string_view(subject).substr(match[0].start + match[0].length));
      ++i;
    } else if (isDigit(next)) {
      const std::size_t one = next - u'0';
      const bool hasTwo = i + 2 < replacement.size() && isDigit(replacement[i + 2]);
      const std::size_t two = hasTwo ? one * 10 + (replacement[i + 2] - u'0') : 0;
      if (hasTwo && two >= 1 && two <= groups) {
        out.append(spanText(subject, match[two]));
        i += 2;
      } else if (one >= 1 && one <= groups) {
        out.append(spanText(subject, match[one]));
        i += 1;
      } else {
        out.push_back(u'$');  // names no group: stays literal
      }
    } else {
      out.push_back(u'$');
    }
  }
}

Text escapeChars(const Text& text, std::string_view chars) {
  Text out = text;
  for (const char c : chars) {
    const char one[2] = {c, '\0'};
    const char escaped[3] = {'\\', c, '\0'};
    out = replaceAll(out, one, escaped, false);
  }
  return out;
}

}  // namespace
}  // namespace detail

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject&) = default;
RegexObject& RegexObject::operator=(const RegexObject&) = default;

Text RegexObject::WildcardToPattern(const Text& text) {
  Text out = detail::escapeChars(text, "\\^$+.{}[]=()-\"");
  out = replaceAll(out, "*", ".*", false);
  return replaceAll(out, "?", ".?", false);
}

Text RegexObject::EscapeLiteral(const Text& text) {
  return detail::escapeChars(text, "\\^$+.{}[]=()?*|\"");
}

Text RegexObject::EscapeKeepAlternation(const Text& text) {
  return detail::escapeChars(text, "\\^$+.{}[]=()?*\"");
}

Text RegexObject::EscapeKeepGroups(const Text& text) {
  return detail::escapeChars(text, "\\^$+.{}[]=?*\"");
}

bool RegexObject::Create(const Text& pattern, bool ignoreCase, bool multiline, bool global) {
  regex_ = std::make_shared<const detail::CompiledPattern>(pattern, ignoreCase, multiline, global);
  return true;
}

int32_t RegexObject::Execute(const Text& subject) {
  matches_.reset();
  if (!regex_) return 0;
  auto list = std::make_shared<detail::MatchList>();
  list->subject = gbkToUtf16(subject);
  if (!regex_->findAll(list->subject, list->matches)) return 0;
  matches_ = std::move(list);
  return MatchCount();
}

Text RegexObject::GetPattern() const { return regex_ ? regex_->pattern() : Text(); }

Text RegexObject::Replace(const Text& subject, const Text& replacement) const {
  if (!regex_) return {};
  const std::u16string text = gbkToUtf16(subject);
  std::vector<std::vector<detail::Span>> found;
  if (!regex_->findAll(text, found)) return {};
  if (found.empty()) return subject;
  const std::u16string templ = gbkToUtf16(replacement);
  std::u16string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  for (const auto& match : found) {
    out.append(text, copied, match[0].start - copied);
    detail::expandTemplate(out, templ, text, match);
    copied = match[0].start + match[0].length;
  }
  out.append(text, copied);
  return utf16ToGbk(out);
}

int32_t RegexObject::MatchCount() const {
  return matches_ ? static_cast<int32_t>(matches_->matches.size()) : 0;
}

Text RegexObject::MatchText(int32_t i) const { return MatchTextAt(i, nullptr); }

Text RegexObject::SubMatchText(int32_t i, int32_t j) const { return SubMatchTextAt(i, j, nullptr); }

int32_t RegexObject::SubMatchCount() const {
  return MatchCount() > 0 ? static_cast<int32_t>(matches_->matches[0].size() - 1) : 0;
}

Text RegexObject::MatchTextAt(int32_t i, int32_t* firstIndex) const {
  return spanText(i, 0, firstIndex);
}

Text RegexObject::SubMatchTextAt(int32_t i, int32_t j, int32_t* firstIndex) const {
  // Groups count from 1; the whole match is not a group.
  if (j < 1) {
    if (firstIndex != nullptr) *firstIndex = 0;
    return {};
  }
  return spanText(i, j, firstIndex);
}

Text RegexObject::spanText(int32_t i, int32_t slot, int32_t* firstIndex) const {
  if (firstIndex != nullptr) *firstIndex = 0;
  if (i < 1 || i > MatchCount()) return {};
  const auto& match = matches_->matches[static_cast<std::size_t>(i - 1)];
  if (slot < 0 || static_cast<std::size_t>(slot) >= match.size()) return {};
  if (firstIndex != nullptr) *firstIndex = static_cast<int32_t>(match[0].start);
  return utf16ToGbk(detail::spanText(matches_->subject, match[static_cast<std::size_t>(slot)]));
}

bool RegexMatcher::Create(const Text& pattern, bool ignoreCase, bool multiline, bool global) {
  object_ = RegexObject();
  matchCount_ = 0;
  return object_.Create(pattern, ignoreCase, multiline, global);
}

int32_t RegexMatcher::Execute(const Text& subject) {
  matchCount_ = object_.Execute(subject);
  return matchCount_;
}

}  // namespace vellox
