#include "collect/search_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/codepage.h"

namespace vellox {
namespace {

// Records the addresses asked for and answers with a fixed text.
class FakeHttpClient final : public HttpClient {
 public:
  explicit FakeHttpClient(Text answer) : answer_(std::move(answer)) {}
  Text get(const std::string& url) override {
    urls.push_back(url);
    return answer_;
  }
  std::vector<std::string> urls;

 private:
  Text answer_;
};

const ProgramConfig kConfig{.searchHost = "search.test:8168", .updateNoticeUrl = ""};

TEST(SearchRequest, ExampleRequestsBuildTheirAddresses) {
  struct Case {
    std::string name, province, city;  // UTF-8 here, GBK in the program
    int32_t offset;
    std::string n, z, w;
  };
  const Case cases[] = {
      {"abc", "所有地区", "所有地区", 0, "0", "%E4%B8%AD%E5%9B%BD", "abc"},
      {"五金", "北京市", "北京市", 40, "40", "%E4%B8%AD%E5%9B%BD:%E5%8C%97%E4%BA%AC%E5%B8%82",
       "%CE%E5%BD%F0"},
      {"a b", "云南省", "昆明市", 80, "80",
       "%E4%B8%AD%E5%9B%BD:%E4%BA%91%E5%8D%97%E7%9C%81%3A%E6%98%86%E6%98%8E%E5%B8%82", "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramState state;
    state.g_keywordParam = encodeKeyword(utf8ToGbk(c.name));
    state.g_regionParam = encodeRegion(utf8ToGbk(c.province), utf8ToGbk(c.city));
    FakeHttpClient http("");
    fetchSearchPage(http, kConfig, state, c.offset);
    ASSERT_EQ(http.urls.size(), 1u);
    EXPECT_EQ(http.urls[0], "http://search.test:8168/get168.cgi?fc=0&e=40&n=" + c.n + "&z=" + c.z +
                                "&v=609&s_id=001%3B003&gs=37&w=" + c.w);
  }
}

TEST(SearchRequest, EncodeKeywordAndRegion) {
  EXPECT_EQ(encodeKeyword(utf8ToGbk(" 　 ")), "") << "blanks only";
  EXPECT_EQ(encodeKeyword(utf8ToGbk("a　b-c")), "ab%2Dc") << "full-width blank removed";
  EXPECT_EQ(encodeRegion("", ""), "") << "pickers not filled yet";
  EXPECT_EQ(encodeRegion(utf8ToGbk("北京市"), utf8ToGbk("北京市")), "%E5%8C%97%E4%BA%AC%E5%B8%82");
  EXPECT_EQ(encodeRegion(utf8ToGbk("所有地区"), utf8ToGbk("所有地区")), "");
  EXPECT_EQ(encodeRegion(utf8ToGbk("甲所有地区乙"), utf8ToGbk("甲所有地区乙")),
            "%E7%94%B2%E4%B9%99")
      << "only the four characters go";
}

TEST(SearchRequest, TotalHitsMarker) {
  struct Case {
    const char* name;
    Text answer;
    int32_t expected;
  };
  const Case cases[] = {
      {"string total", R"({"searchResultfoAllNum":"400","searchResultInfo":[]})", 400},
      {"other letter case", R"({"SEARCHRESULTFOALLNUM":"12"})", 12},
      {"digits then letters", R"({"searchResultfoAllNum":"37abc"})", 37},
      {"empty total", R"({"searchResultfoAllNum":""})", 0},
      {"bare number is not found", R"({"searchResultfoAllNum":400})", 0},
      {"blank after the colon is not the marker", R"({"searchResultfoAllNum": "400"})", 0},
      {"missing closing quote", R"({"searchResultfoAllNum":"400)", 0},
      {"first marker wins", R"({"searchResultfoAllNum":"5","searchResultfoAllNum":"9"})", 5},
      {"empty answer", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readTotalHits(c.answer), c.expected);
  }
}

TEST(SearchRequest, FetchWritesTotalHitsEveryTime) {
  ProgramState state;
  FakeHttpClient page(R"({"searchResultfoAllNum":"81","searchResultInfo":[]})");
  EXPECT_EQ(fetchSearchPage(page, kConfig, state, 0), page.get(""));
  EXPECT_EQ(state.g_totalHits, 81);

  FakeHttpClient failed("");
  EXPECT_EQ(fetchSearchPage(failed, kConfig, state, 40), "");
  EXPECT_EQ(state.g_totalHits, 0) << "a failed fetch resets the total";
}

}  // namespace
}  // namespace vellox
