// What the substitute directory service answers: search pages with generated listings and the
// update-notice page. Pure functions of the request and the options, so every answer is the same
// for the same request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellox::directory {

enum class Charset { kUtf8, kGbk };

struct GeneratorOptions {
  // Forces the total hit count of every search; otherwise it follows from the search.
  std::optional<int32_t> total;
  // Version number announced by the update notice ("1.32" announces no update).
  std::string noticeVersion = "1.32";
};

// The search as the service understands it (texts in UTF-8).
struct SearchQuery {
  std::string keyword;   // decoded from w (GBK percent-encoding)
  std::string province;  // decoded from z (UTF-8: country, then ":province" and ":city")
  std::string city;
  int32_t offset = 0;    // n
  int32_t pageSize = 40; // e, clamped to 1..100
};

// Reads the query string of a search request (the part after "?"), undecoded.
SearchQuery parseSearchQuery(std::string_view rawQuery);

// The 47 keys every listing carries, in the order they are written.
const std::vector<std::string_view>& listingKeys();

// Total hit count for a search.
int32_t totalHits(const SearchQuery& query, const GeneratorOptions& options);

// The JSON answer (UTF-8) for a search: "searchResultfoAllNum" as a string and
// "searchResultInfo" holding the listings from the offset on, at most pageSize of them.
std::string searchAnswer(const SearchQuery& query, const GeneratorOptions& options);

// The update-notice page (UTF-8 HTML) with its version, download address and notes markers.
// `selfAddress` is "host:port" of this service, used in the download address.
std::string noticePage(const GeneratorOptions& options, std::string_view selfAddress);

}  // namespace vellox::directory
