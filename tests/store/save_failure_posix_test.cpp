// A save whose writes fail one after another, as on a full disk, never harms the old file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {

// Caps the size of any file this process writes, so the write that crosses it fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_;
};

TEST(SaveFailure, EachFailingWriteKeepsTheOldFileByteForByte) {
  signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
  TestFolder folder;
  std::string path = folder.Path("list.dat");
  LaunchSettingList list;
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(list.Put(-1, MakeSetting(std::to_string(i).c_str())));
  const size_t fullSize = 25 + 5384 * 30;

  // The old file is larger than any limit below, so a truncated target would show.
  Bytes old(fullSize + 5000, 0x3C);
  // Every field boundary, the block boundaries and the last byte.
  std::vector<size_t> limits = {0,  1,     16,    17,    20,     21,          24,
                                25, 65535, 65536, 65537, 131072, fullSize - 1};
  for (int i = 0; i < 30; ++i) limits.push_back(25 + 5384 * static_cast<size_t>(i) + 5380);
  for (size_t limit : limits) {
    SCOPED_TRACE(limit);
    WriteBytes(path, old);
    bool saved;
    {
      FileSizeLimit cap(limit);
      saved = list.SaveToFile(path.c_str(), kListFileSignature);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_STREQ(list.filePath(), "");
    EXPECT_TRUE(list.modified());
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"list.dat"});
  }
  {
    FileSizeLimit cap(fullSize);
    EXPECT_TRUE(list.SaveToFile(path.c_str(), kListFileSignature));
  }
  EXPECT_EQ(ReadBytes(path).size(), fullSize);
  EXPECT_FALSE(list.modified());
}

}  // namespace
