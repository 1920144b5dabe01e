#include "listing_generator.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace vellox::directory {
namespace {

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) {
    ++n;
  }
  return n;
}

TEST(ListingGenerator, ParsesTheSearchQuery) {
  const SearchQuery q = parseSearchQuery(
      "fc=0&e=40&n=80&z=%E4%B8%AD%E5%9B%BD:%E4%BA%91%E5%8D%97%E7%9C%81%3A%E6%98%86%E6%98%8E%E5%B8%82"
      "&v=609&s_id=001%3B003&gs=37&w=%CE%E5%BD%F0");
  EXPECT_EQ(q.keyword, "五金") << "w is GBK";
  EXPECT_EQ(q.province, "云南省");
  EXPECT_EQ(q.city, "昆明市");
  EXPECT_EQ(q.offset, 80);
  EXPECT_EQ(q.pageSize, 40);

  const SearchQuery all = parseSearchQuery("fc=0&e=40&n=0&z=%E4%B8%AD%E5%9B%BD&w=abc");
  EXPECT_EQ(all.keyword, "abc");
  EXPECT_EQ(all.province, "");
  EXPECT_EQ(all.city, "");

  const SearchQuery odd = parseSearchQuery("e=100000&n=-5&w");
  EXPECT_EQ(odd.pageSize, 100);
  EXPECT_EQ(odd.offset, 0);
  EXPECT_EQ(odd.keyword, "");
}

TEST(ListingGenerator, PagesCoverTheTotal) {
  GeneratorOptions options;
  options.total = 50;
  SearchQuery q;
  q.keyword = "五金";
  struct Case {
    int32_t offset;
    int listings;
  };
  for (const Case c : {Case{0, 40}, Case{40, 10}, Case{80, 0}}) {
    SCOPED_TRACE(c.offset);
    q.offset = c.offset;
    const std::string page = searchAnswer(q, options);
    EXPECT_EQ(page.rfind(R"({"searchResultfoAllNum":"50",)", 0), 0u) << "total first, as a string";
    for (const std::string_view key : listingKeys()) {
      EXPECT_EQ(count(page, "\"" + std::string(key) + "\":"), c.listings) << key;
    }
    if (c.listings == 0) {
      EXPECT_NE(page.find(R"("searchResultInfo":[])"), std::string::npos);
    }
  }
  EXPECT_EQ(listingKeys().size(), 47u);
}

TEST(ListingGenerator, ListingsLookReal) {
  SearchQuery q;
  q.keyword = "五金";
  q.province = "云南省";
  q.city = "昆明市";
  const std::string page = searchAnswer(q, {});
  EXPECT_EQ(page, searchAnswer(q, {})) << "deterministic";
  q.offset = 40;
  EXPECT_NE(page, searchAnswer(q, {})) << "another page holds other listings";

  EXPECT_EQ(count(page, R"("searchResultfoTitle":"昆明)"), 40) << "names carry the city";
  EXPECT_GE(count(page, "五金"), 40) << "names carry the keyword";
  EXPECT_EQ(count(page, R"("searchResultfoZone":"云南省 昆明市")"), 40);
  EXPECT_GT(count(page, R"(\")"), 0) << "escaped quotes inside values";
  EXPECT_GT(count(page, "　"), 0) << "full-width spaces";
  EXPECT_GT(count(page, R"(\r\n)"), 0) << "line breaks inside values";
  EXPECT_GT(count(page, R"(":"")"), 0) << "empty values";
  EXPECT_TRUE(std::regex_search(page, std::regex(R"("searchResultfoAddress":"[^"]*,)")))
      << "commas inside addresses";
  EXPECT_TRUE(std::regex_search(page, std::regex(R"(0\d{2,3}-\d{7,8})"))) << "landlines";
  EXPECT_TRUE(std::regex_search(page, std::regex(R"(1[3589]\d{9})"))) << "mobile numbers";
  EXPECT_TRUE(std::regex_search(page, std::regex(R"("searchResultfoLongitude":\d+\.\d+,)")))
      << "bare numbers";
  EXPECT_GT(page.size(), 50000u) << "a page is about as large as the real service's";
}

TEST(ListingGenerator, NoticePageCarriesTheMarkers) {
  GeneratorOptions options;
  options.noticeVersion = "1.40";
  const std::string page = noticePage(options, "127.0.0.1:9");
  EXPECT_NE(page.find("**--**1.40--**--"), std::string::npos);
  EXPECT_NE(page.find("##--##http://127.0.0.1:9/download/"), std::string::npos);
  EXPECT_NE(page.find("++--++"), std::string::npos);
  EXPECT_NE(page.find("--++--"), std::string::npos);
}

}  // namespace
}  // namespace vellox::directory
