// Arbitrary bytes as a list file, loaded in both modes into a list that already holds records.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {

std::string ScratchPath() { return "/tmp/kmlaunch-fuzz-" + std::to_string(getpid()) + ".dat"; }

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "list file fuzzer: %s\n", what);
  std::abort();
}

int32_t Int32At(const uint8_t* data) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(data[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// What the header check must decide, worked out from the format alone.
bool HeaderIsValid(const uint8_t* data, size_t size) {
  if (size < 25 || std::memcmp(data, kListFileSignature, 17) != 0) return false;
  int32_t count = Int32At(data + 17);
  int32_t capacity = Int32At(data + 21);
  return count >= 0 && capacity >= 0 && count <= capacity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = ScratchPath();
  WriteBytes(path, Bytes(data, data + size));
  bool headerValid = HeaderIsValid(data, size);

  for (bool replace : {true, false}) {
    LaunchSettingList list;
    for (const char* name : {"one", "two", "three"}) {
      Require(list.Put(-1, MakeSetting(name)), "could not prepare the list");
    }
    std::vector<Bytes> before = RecordsOf(list);
    bool loaded = list.LoadFromFile(path.c_str(), kListFileSignature, replace);
    std::string broken = BrokenInvariant(list);
    if (!broken.empty()) {
      std::fprintf(stderr, "invariant broken (%s mode): %s\n", replace ? "replace" : "append",
                   broken.c_str());
      std::abort();
    }
    if (!headerValid) {
      Require(!loaded, "a bad header was accepted");
      Require(RecordsOf(list) == before && list.capacity() == 30 && list.filePath()[0] == '\0',
              "a bad header changed the list");
    } else if (replace) {
      Require(list.capacity() == Int32At(data + 21), "replace did not take the capacity");
      // A list cut short by a bad record is not tied to the file it could not read whole.
      Require(std::strcmp(list.filePath(), loaded ? path.c_str() : "") == 0,
              "replace took the wrong path");
      Require(!loaded || !list.modified(), "a replace load left the list modified");
    } else {
      Require(list.capacity() == 30 && list.filePath()[0] == '\0', "append changed the header");
      std::vector<Bytes> after = RecordsOf(list);
      Require(after.size() >= 3 && std::equal(before.begin(), before.end(), after.begin()),
              "append changed the records it had");
    }
    if (loaded && headerValid) {
      int32_t fileCount = Int32At(data + 17);
      int32_t expected = replace ? fileCount : std::min<int32_t>(3 + fileCount, 30);
      Require(list.count() == expected, "a successful load holds the wrong number of records");
    }
  }
  return 0;
}
