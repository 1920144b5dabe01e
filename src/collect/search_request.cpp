#include "collect/search_request.h"

#include "text/codepage.h"
#include "text/gbk_literal.h"
#include "text/percent.h"

namespace vellox {

using namespace literals;

Text encodeKeyword(const Text& name) { return percentEncode(removeBlanks(name)); }

Text encodeRegion(const Text& province, const Text& city) {
  Text region = city != province ? province + ":" + city : province;
  region = replaceAll(region, "所有地区"_gbk, "");
  return percentEncode(gbkToUtf8(region));
}

std::string buildSearchUrl(const ProgramConfig& config, const Text& keywordParam,
                           const Text& regionParam, int32_t offset) {
  const Text regionPart = regionParam.empty() ? Text() : ":" + regionParam;
  Text url = replaceAll(kSearchUrlTemplate, "{host}", config.searchHost);
  url = replaceAll(url, "{u}", keywordParam);
  url = replaceAll(url, "{dq}", regionPart);
  url = replaceAll(url, "{e}", intToText(kPageSize));
  url = replaceAll(url, "{n}", intToText(offset));
  return url;
}

int32_t readTotalHits(std::string_view answer) {
  static constexpr std::string_view kMarker = "searchResultfoAllNum\":\"";
  const int32_t marker = findText(answer, kMarker);
  if (marker < 0) return 0;
  const int32_t valueStart = marker + static_cast<int32_t>(kMarker.size());
  const int32_t closingQuote = findText(answer, "\"", valueStart);
  if (closingQuote < 0) return 0;
  return textToInt(answer.substr(valueStart - 1, closingQuote - valueStart));
}

Text fetchSearchPage(HttpClient& http, const ProgramConfig& config, ProgramState& state,
                     int32_t offset) {
  Text answer = http.get(buildSearchUrl(config, state.g_keywordParam, state.g_regionParam, offset));
  state.g_totalHits = readTotalHits(answer);
  return answer;
}

}  // namespace vellox
