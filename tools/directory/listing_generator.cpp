#include "listing_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "text/codepage.h"
#include "text/text.h"

namespace vellox::directory {
namespace {

// FNV-1a over the search, then splitmix64: cheap, stable across platforms and runs.
uint64_t hashText(std::string_view s, uint64_t h = 1469598103934665603ULL) {
  for (const char c : s) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  return h;
}

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  template <typename T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
  }
  std::string digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s.push_back(static_cast<char>('0' + below(10)));
    return s;
  }

 private:
  uint64_t state_;
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string percentDecode(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(s[i + 1]) << 4 | hexValue(s[i + 2])));
      i += 2;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

// Byte-wise split (the query and the decoded region are ASCII and UTF-8, not GBK).
std::vector<std::string> splitBytes(std::string_view s, char delimiter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t pos; (pos = s.find(delimiter, start)) != std::string_view::npos; start = pos + 1) {
    parts.emplace_back(s.substr(start, pos - start));
  }
  parts.emplace_back(s.substr(start));
  return parts;
}

void appendJsonString(std::string& out, std::string_view s) {
  out.push_back('"');
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(c));
          out += buffer;
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

struct Place {
  std::string_view province, city, areaCode;
};

constexpr std::array<Place, 12> kPlaces = {{
    {"北京市", "北京市", "010"},   {"上海市", "上海市", "021"},   {"广东省", "广州市", "020"},
    {"广东省", "深圳市", "0755"},  {"浙江省", "杭州市", "0571"},  {"江苏省", "苏州市", "0512"},
    {"云南省", "昆明市", "0871"},  {"四川省", "成都市", "028"},   {"山东省", "青岛市", "0532"},
    {"湖北省", "武汉市", "027"},   {"台湾省", "台北市", "02"},    {"福建省", "厦门市", "0592"},
}};
constexpr std::array<std::string_view, 10> kTrades = {
    "五金工具", "建材批发", "电子元器件", "机械设备", "办公用品",
    "劳保用品", "水暖器材", "汽车配件", "日用百货", "包装材料"};
constexpr std::array<std::string_view, 8> kSuffixes = {
    "有限公司", "贸易有限公司", "经营部", "科技有限公司", "制造厂", "商行", "批发部", "实业有限公司"};
constexpr std::array<std::string_view, 6> kDistricts = {"高新区", "经开区", "城关区",
                                                       "东城区", "西城区", "新城区"};
constexpr std::array<std::string_view, 8> kStreets = {"人民路", "解放路", "中山路", "建设路",
                                                     "和平街", "文化路", "滨江大道", "工业园"};
constexpr std::array<std::string_view, 10> kSurnames = {"王", "李", "张", "刘", "陈",
                                                       "杨", "黄", "赵", "吴", "周"};
constexpr std::array<std::string_view, 12> kGivenNames = {"伟", "芳", "娜", "敏", "静", "丽",
                                                         "强", "磊", "军", "洋", "勇", "明"};
constexpr std::array<std::string_view, 4> kTitles = {"经理", "先生", "女士", "总"};
constexpr std::array<std::string_view, 4> kUnits = {"件", "台", "吨", "个"};
constexpr std::array<std::string_view, 5> kBrands = {"", "宏达", "金狮", "长城", "东方红"};

constexpr std::array<std::string_view, 47> kKeys = {
    "searchResultfoSortnum1",     "searchResultfoProviderid",   "searchResultfoImageSmall",
    "searchResultfoImageBig",     "searchResultfoUrl",          "searchResultfoMiUrl",
    "searchResultfoTitle",        "searchResultfoClass",        "searchResultfoMeasureUnit",
    "searchResultfoPublicTime",   "searchResultfoPublicYearTime", "searchResultfoEndTime",
    "searchResultfoBespeakAmount", "searchResultfoUnitPrice",   "searchResultfoCompany",
    "searchResultfohcbu",         "searchResultfoZone",         "searchResultfoLoginDate",
    "searchResultfoAddress",      "searchResultfoLongitude",    "searchResultfoLatitude",
    "searchResultfoTenMedal",     "searchResultfoUserName",     "searchResultfoBrand",
    "searchResultfoPaNum",        "searchResultfoBm",           "searchResultfoCapital",
    "searchResultfoCapitalUnit",  "searchResultfoText",         "searchResultfoTp",
    "searchResultfoReadNum",      "searchResultfoReplyNum",     "searchResultfoRforumclass",
    "searchResultfoFbIndexPage",  "searchResultfommt",          "searchResultfoAs",
    "searchResultfoMiniShop",     "searchResultfoId",           "searchResultfoTrading",
    "searchResultfoSecurity",     "searchResultfoWireless",     "searchResultfoMallMark",
    "searchResultfoPayMethod",    "searchResultfoSalesVolume",  "searchResultfoSalesCount",
    "searchResultfoDistance",     "searchResultfoST"};

// The city name without its last character ("昆明市" -> "昆明"), for company names.
std::string shortCity(std::string_view city) {
  // Every city here ends in a three-byte UTF-8 character such as 市, 省 or 县.
  return std::string(city.size() > 3 ? city.substr(0, city.size() - 3) : city);
}

std::string date(Random& r, int year) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, 1 + r.below(12), 1 + r.below(28));
  return buffer;
}

std::string decimal(Random& r, int whole, int fraction) {
  std::string s = std::to_string(r.below(whole));
  s += '.';
  s += r.digits(fraction);
  return s;
}

// One listing's members as "key":value pairs (values already JSON).
std::vector<std::pair<std::string_view, std::string>> makeListing(const SearchQuery& q,
                                                                  int32_t index) {
  Random r(hashText(std::to_string(index), hashText(q.keyword + "|" + q.province + "|" + q.city)));
  const Place& place = r.pick(kPlaces);
  const std::string province = q.province.empty() ? std::string(place.province) : q.province;
  const std::string city = !q.city.empty()       ? q.city
                           : !q.province.empty() ? q.province
                                                 : std::string(place.city);
  const std::string areaCode =
      q.province.empty() ? std::string(place.areaCode) : "0" + std::to_string(100 + r.below(900));
  const std::string trade = q.keyword.empty() ? std::string(r.pick(kTrades)) : q.keyword;
  const std::string id = std::to_string(100000 + index * 7 + r.below(7));

  std::string title = shortCity(city);
  const int style = r.below(10);
  if (style == 0) {
    title += "\"" + trade + "\"";  // quoted trade name
  } else if (style == 1) {
    title += trade + "　";        // full-width space before the suffix
  } else {
    title += trade;
  }
  title += r.pick(kSuffixes);

  std::string address = city + std::string(r.pick(kDistricts)) + std::string(r.pick(kStreets)) +
                        std::to_string(1 + r.below(999)) + "号";
  if (r.chance(40)) address += ",A座" + std::to_string(1 + r.below(30)) + "楼";
  if (r.chance(20)) address += "，临街门面";

  std::string person;
  if (!r.chance(15)) {
    person = std::string(r.pick(kSurnames));
    person += r.chance(30) ? std::string(r.pick(kTitles))
                           : std::string(r.pick(kGivenNames)) +
                                 (r.chance(50) ? std::string(r.pick(kGivenNames)) : "");
  }

  std::string contact;
  if (!r.chance(5)) {
    const std::string landline = areaCode + "-" + r.digits(areaCode.size() == 3 ? 8 : 7);
    const std::string mobile = "1" + std::string(1, "3589"[r.below(4)]) + r.digits(9);
    static constexpr std::array<std::string_view, 4> kBreaks = {" ", "　", "\r\n", "；"};
    const std::string_view sep = r.pick(kBreaks);
    switch (r.below(4)) {
      case 0: contact = "电话：" + landline; break;
      case 1: contact = "手机：" + mobile; break;
      case 2: contact = "电话：" + landline + std::string(sep) + "手机：" + mobile; break;
      default:
        contact = "联系电话：" + landline + std::string(sep) + "传真：" + areaCode + "-" +
                  r.digits(7) + std::string(sep) + "手机：" + mobile;
    }
  }

  std::string business = r.chance(50) ? "主营：" : "";
  business += trade;
  for (int i = r.below(3); i > 0; --i) business += (r.chance(50) ? "、" : ",") + std::string(r.pick(kTrades));

  auto str = [](std::string_view s) {
    std::string out;
    appendJsonString(out, s);
    return out;
  };
  const int year = 2012 + r.below(5);
  return {
      {kKeys[0], str(std::to_string(index + 1))},
      {kKeys[1], str("P" + id)},
      {kKeys[2], str("http://img.directory.invalid/small/" + id + ".jpg")},
      {kKeys[3], str("http://img.directory.invalid/big/" + id + ".jpg")},
      {kKeys[4], str("http://shop" + id + ".directory.invalid/")},
      {kKeys[5], str("http://m.directory.invalid/shop/" + id)},
      {kKeys[6], str(title)},
      {kKeys[7], str(std::to_string(1 + r.below(5)))},
      {kKeys[8], str(r.pick(kUnits))},
      {kKeys[9], str(date(r, year) + " " + std::to_string(10 + r.below(13)) + ":" +
                     std::to_string(10 + r.below(50)) + ":" + std::to_string(10 + r.below(50)))},
      {kKeys[10], str(std::to_string(year))},
      {kKeys[11], str(date(r, year + 1))},
      {kKeys[12], str(std::to_string(r.below(500)))},
      {kKeys[13], str(decimal(r, 1000, 2))},
      {kKeys[14], str(r.chance(70) ? title : "")},
      {kKeys[15], str(r.chance(50) ? "1" : "0")},
      {kKeys[16], str(city == province ? province : province + " " + city)},
      {kKeys[17], str(date(r, 2016))},
      {kKeys[18], str(address)},
      {kKeys[19], decimal(r, 180, 6)},  // a bare number, as coordinates come
      {kKeys[20], decimal(r, 90, 6)},
      {kKeys[21], str("0")},
      {kKeys[22], str(person)},
      {kKeys[23], str(r.pick(kBrands))},
      {kKeys[24], str(std::to_string(r.below(100)))},
      {kKeys[25], str("")},
      {kKeys[26], std::to_string(10 * (1 + r.below(500)))},  // bare number
      {kKeys[27], str("万元")},
      {kKeys[28], str(contact)},
      {kKeys[29], str(business)},
      {kKeys[30], std::to_string(r.below(10000))},  // bare number
      {kKeys[31], std::to_string(r.below(100))},    // bare number
      {kKeys[32], str("")},
      {kKeys[33], str("1")},
      {kKeys[34], str("0")},
      {kKeys[35], str("")},
      {kKeys[36], str(r.chance(20) ? "1" : "0")},
      {kKeys[37], str("")},
      {kKeys[38], str(r.chance(60) ? "1" : "0")},
      {kKeys[39], str("0")},
      {kKeys[40], str("1")},
      {kKeys[41], str("")},
      {kKeys[42], str(r.chance(50) ? "支付宝,网银" : "货到付款")},
      {kKeys[43], str(std::to_string(r.below(100000)))},
      {kKeys[44], str(std::to_string(r.below(1000)))},
      {kKeys[45], str("")},
      {kKeys[46], str("")},
  };
}

}  // namespace

SearchQuery parseSearchQuery(std::string_view rawQuery) {
  SearchQuery q;
  for (const std::string& pair : splitBytes(rawQuery, '&')) {
    const std::size_t eq = pair.find('=');
    const std::string_view key = std::string_view(pair).substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : pair.substr(eq + 1);
    if (key == "w") {
      q.keyword = gbkToUtf8(percentDecode(value));  // the name is sent in GBK
    } else if (key == "z") {
      // z is "中国", then optionally ":" and the region whose own ":" was encoded as %3A.
      const std::vector<std::string> parts = splitBytes(percentDecode(value), ':');
      if (parts.size() > 1) q.province = parts[1];
      if (parts.size() > 2) q.city = parts[2];
    } else if (key == "n") {
      q.offset = std::max(0, textToInt(value));
    } else if (key == "e") {
      q.pageSize = std::clamp(textToInt(value), 1, 100);
    }
  }
  return q;
}

const std::vector<std::string_view>& listingKeys() {
  static const std::vector<std::string_view> keys(kKeys.begin(), kKeys.end());
  return keys;
}

int32_t totalHits(const SearchQuery& query, const GeneratorOptions& options) {
  if (options.total) return std::max(0, *options.total);
  return 37 + static_cast<int32_t>(hashText(query.keyword + "|" + query.province + "|" +
                                            query.city) % 400);
}

std::string searchAnswer(const SearchQuery& query, const GeneratorOptions& options) {
  const int32_t total = totalHits(query, options);
  std::string out = R"({"searchResultfoAllNum":")" + std::to_string(total) +
                    R"(","searchResultfoPageSize":")" + std::to_string(query.pageSize) +
                    R"(","searchResultInfo":[)";
  const int32_t end = std::min<int64_t>(total, int64_t{query.offset} + query.pageSize);
  for (int32_t index = query.offset; index < end; ++index) {
    if (index != query.offset) out.push_back(',');
    out.push_back('{');
    bool first = true;
    for (const auto& [key, value] : makeListing(query, index)) {
      if (!first) out.push_back(',');
      first = false;
      appendJsonString(out, key);
      out.push_back(':');
      out += value;
    }
    out.push_back('}');
  }
  out += R"(],"status":"ok"})";
  return out;
}

std::string noticePage(const GeneratorOptions& options, std::string_view selfAddress) {
  const std::string address = "http://" + std::string(selfAddress) +
                              "/download/Vellox_%E6%9C%80%E6%96%B0%E7%89%88.zip";
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Vellox 更新公告</title>"
         "</head>\n<body>\n<p>最新版本：**--**" + options.noticeVersion + "--**--</p>\n"
         "<p>下载地址：##--##" + address + "--##--</p>\n"
         "<pre>++--++更新内容：\r\n1. 采集速度提升\r\n2. 修正导出CSV时的若干问题--++--</pre>\n"
         "</body></html>\n";
}

}  // namespace vellox::directory
