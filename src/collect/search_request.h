// The search request: how the search name and the region become request parameters, how the
// address of one result page is built, and the fetch that reads the total hit count.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/program_config.h"
#include "app/program_state.h"
#include "platform/http_client.h"
#include "text/text.h"

namespace vellox {

// The address of one result page. "{host}" is the configured search host; "{u}", "{dq}", "{e}"
// and "{n}" are the search name, the region part, the page size and the listing offset.
inline constexpr std::string_view kSearchUrlTemplate =
    "http://{host}/get168.cgi?fc=0&e={e}&n={n}&z=%E4%B8%AD%E5%9B%BD{dq}&v=609&s_id=001%3B003&gs=37"
    "&w={u}";

// Listings per page.
inline constexpr int32_t kPageSize = 40;

// The search name as sent: blanks (half- and full-width) removed, then the GBK bytes
// percent-encoded. Empty when the name is only blanks.
Text encodeKeyword(const Text& name);

// The region as sent: the province alone when the city equals it, else "province:city"; every
// "所有地区" removed; then converted to UTF-8 and percent-encoded (":" becomes %3A). Empty for
// "all regions".
Text encodeRegion(const Text& province, const Text& city);

// The address of the result page at listing `offset` for the given parameters.
std::string buildSearchUrl(const ProgramConfig& config, const Text& keywordParam,
                           const Text& regionParam, int32_t offset);

// The total hit count of an answer: the integer read from the text between the first
// `searchResultfoAllNum":"` (any letter case) and the next double quote; 0 when either is missing.
int32_t readTotalHits(std::string_view answer);

// Fetches the result page at `offset` for state.g_keywordParam and state.g_regionParam, stores
// its total hit count in state.g_totalHits (0 for a failed fetch) and returns the answer text
// (empty when the fetch failed).
Text fetchSearchPage(HttpClient& http, const ProgramConfig& config, ProgramState& state,
                     int32_t offset);

}  // namespace vellox
