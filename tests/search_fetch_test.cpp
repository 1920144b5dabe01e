// The search request against the substitute directory service, over real HTTP on loopback.
#include <gtest/gtest.h>

#include "collect/search_request.h"
#include "directory_service.h"
#include "platform/http_client.h"
#include "text/codepage.h"

namespace vellox {
namespace {

using directory::Charset;
using directory::DirectoryService;
using directory::ServiceOptions;

struct RunningService {
  explicit RunningService(ServiceOptions options) : service((options.port = 0, options)) {
    EXPECT_TRUE(service.start());
    config.searchHost = "127.0.0.1:" + std::to_string(service.port());
  }
  DirectoryService service;
  ProgramConfig config;
};

TEST(SearchFetch, ReadsTotalAndPagesFromTheService) {
  ServiceOptions options;
  options.generator.total = 50;
  RunningService running(options);
  CurlHttpClient http;
  ProgramState state;
  state.g_keywordParam = encodeKeyword(utf8ToGbk("五金"));
  state.g_regionParam = encodeRegion(utf8ToGbk("云南省"), utf8ToGbk("昆明市"));

  const Text first = fetchSearchPage(http, running.config, state, 0);
  EXPECT_EQ(state.g_totalHits, 50);
  EXPECT_NE(first.find(utf8ToGbk("\"searchResultfoZone\":\"云南省 昆明市\"")), Text::npos)
      << "the region arrived; the UTF-8 answer was converted to GBK";
  EXPECT_NE(first.find(utf8ToGbk("五金")), Text::npos) << "the GBK keyword arrived";

  state.g_totalHits = -1;
  const Text past = fetchSearchPage(http, running.config, state, 80);
  EXPECT_EQ(state.g_totalHits, 50) << "written also for a page without listings";
  EXPECT_NE(past.find("\"searchResultInfo\":[]"), Text::npos);
}

TEST(SearchFetch, GbkAndUtf8AnswersReadTheSame) {
  ServiceOptions utf8;
  ServiceOptions gbk;
  gbk.charset = Charset::kGbk;
  RunningService utf8Service(utf8);
  RunningService gbkService(gbk);
  CurlHttpClient http;
  ProgramState state;
  state.g_keywordParam = encodeKeyword(utf8ToGbk("办公 用品"));
  const Text fromUtf8 = fetchSearchPage(http, utf8Service.config, state, 40);
  const int32_t total = state.g_totalHits;
  const Text fromGbk = fetchSearchPage(http, gbkService.config, state, 40);
  EXPECT_GT(total, 0);
  EXPECT_EQ(state.g_totalHits, total);
  EXPECT_FALSE(fromUtf8.empty());
  EXPECT_EQ(fromGbk, fromUtf8);
}

TEST(SearchFetch, DeadServiceGivesNothing) {
  ProgramConfig config;
  {
    RunningService running(ServiceOptions{});
    config = running.config;
  }  // stopped: the port no longer answers
  CurlHttpClient http;
  ProgramState state;
  state.g_totalHits = 7;
  EXPECT_EQ(fetchSearchPage(http, config, state, 0), "");
  EXPECT_EQ(state.g_totalHits, 0);
}

}  // namespace
}  // namespace vellox
