#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "text/codepage.h"

namespace vellox {
namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vellox_files_test_" + std::to_string(::getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  Text path(const std::string& utf8Name) const { return utf8ToGbk((dir_ / utf8Name).string()); }

  fs::path dir_;
  LocalFileStore files_;
};

TEST_F(FilesTest, WriteReadReplace) {
  const Text p = path("out.csv");
  EXPECT_FALSE(files_.exists(p));
  EXPECT_FALSE(files_.readAll(p).has_value());

  const Text bytes("a,b\r\n\xC3\xFB\0z", 8);
  ASSERT_TRUE(files_.writeAll(p, bytes));
  EXPECT_TRUE(files_.exists(p));
  EXPECT_EQ(files_.readAll(p), bytes);

  ASSERT_TRUE(files_.writeAll(p, "short"));
  EXPECT_EQ(files_.readAll(p), "short") << "replacing leaves no tail of the old content";
  ASSERT_TRUE(files_.writeAll(p, ""));
  EXPECT_EQ(files_.readAll(p), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
      << "no temporary file is left behind";
}

TEST_F(FilesTest, ChinesePathIsAFileSystemName) {
  const Text p = path("结果.csv");
  ASSERT_TRUE(files_.writeAll(p, "x"));
  EXPECT_TRUE(fs::exists(dir_ / "结果.csv"));
  EXPECT_EQ(files_.readAll(p), "x");
}

TEST_F(FilesTest, ReplacingKeepsPermissions) {
  const Text p = path("conf.vlxint");
  ASSERT_TRUE(files_.writeAll(p, "1"));
  fs::permissions(dir_ / "conf.vlxint", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(files_.writeAll(p, "2"));
  EXPECT_EQ(fs::status(dir_ / "conf.vlxint").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FilesTest, FailuresAreReported) {
  EXPECT_FALSE(files_.writeAll(path("no/such/folder/x.csv"), "x"));
  EXPECT_FALSE(files_.writeAll(utf8ToGbk(dir_.string()), "x")) << "a folder is not replaced";
  EXPECT_TRUE(fs::is_directory(dir_));
  EXPECT_FALSE(files_.readAll(utf8ToGbk(dir_.string())).has_value()) << "a folder is not a file";
  EXPECT_FALSE(files_.exists(utf8ToGbk(dir_.string())));
  EXPECT_FALSE(files_.readAll("").has_value());
}

}  // namespace
}  // namespace vellox
