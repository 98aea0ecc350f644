// The store against the floor: list operations at 30 records, and list files beside raw I/O.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "store/launch_setting_list.h"
#include "support/test_folder.h"

namespace {

constexpr size_t kRecordSize = sizeof(LaunchSetting);

size_t FileSizeFor(int records) { return 25 + kRecordSize * static_cast<size_t>(records); }

// A list of the given length whose capacity allows it, loaded from a file so capacity is set.
void MakeList(LaunchSettingList* list, int records, const std::string& path) {
  Bytes header(kListFileSignature, kListFileSignature + 17);
  for (int32_t value : {0, records}) {
    for (int i = 0; i < 4; ++i) header.push_back(static_cast<unsigned char>(value >> (8 * i)));
  }
  WriteBytes(path, header);
  list->LoadFromFile(path.c_str(), kListFileSignature, true);
  LaunchSetting setting = MakeSetting("benchmark", "C:\\Windows\\notepad.exe", "-a -b");
  for (int i = 0; i < records; ++i) list->Put(-1, setting);
}

void BM_ListPutAndRemove30(benchmark::State& state) {
  LaunchSetting setting = MakeSetting("x");
  for (auto _ : state) {
    LaunchSettingList list;
    for (int i = 0; i < 30; ++i) list.Put(-1, setting);
    while (list.count() > 0) list.Remove(list.count() - 1);
    benchmark::DoNotOptimize(list.count());
  }
}
BENCHMARK(BM_ListPutAndRemove30);

void BM_ListGetEach30(benchmark::State& state) {
  LaunchSettingList list;
  for (int i = 0; i < 30; ++i) list.Put(-1, MakeSetting("x"));
  LaunchSetting out;
  for (auto _ : state) {
    for (int i = 0; i < 30; ++i) list.Get(i, &out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_ListGetEach30);

void BM_ListMoveUpTailToHead30(benchmark::State& state) {
  LaunchSettingList list;
  for (int i = 0; i < 30; ++i) list.Put(-1, MakeSetting("x"));
  for (auto _ : state) {
    for (int i = 29; i > 0; --i) list.MoveUp(i);
    benchmark::DoNotOptimize(list.head());
  }
}
BENCHMARK(BM_ListMoveUpTailToHead30);

void BM_ListInsertAfterHead(benchmark::State& state) {
  LaunchSetting setting = MakeSetting("x");
  for (auto _ : state) {
    LaunchSettingList list;
    list.Put(-1, setting);
    for (int i = 1; i < 30; ++i) list.InsertAfter(0, setting);
    benchmark::DoNotOptimize(list.count());
  }
}
BENCHMARK(BM_ListInsertAfterHead);

void BM_SaveToFile(benchmark::State& state) {
  TestFolder folder;
  LaunchSettingList list;
  MakeList(&list, static_cast<int>(state.range(0)), folder.Path("seed.dat"));
  std::string path = folder.Path("list.dat");
  for (auto _ : state) benchmark::DoNotOptimize(list.SaveToFile(path.c_str(), kListFileSignature));
  state.SetBytesProcessed(state.iterations() * FileSizeFor(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SaveToFile)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same bytes in one write: create, write, close. durable adds what a safe save must do.
void RawWrite(benchmark::State& state, bool durable) {
  TestFolder folder;
  Bytes bytes(FileSizeFor(static_cast<int>(state.range(0))), 0x41);
  std::string path = folder.Path("raw.dat");
  std::string temp = path + ".tmp";
  for (auto _ : state) {
    int fd = ::open(durable ? temp.c_str() : path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    if (durable) ::fsync(fd);
    ::close(fd);
    if (durable) std::rename(temp.c_str(), path.c_str());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
void BM_RawWrite(benchmark::State& state) { RawWrite(state, false); }
void BM_RawWriteDurable(benchmark::State& state) { RawWrite(state, true); }
BENCHMARK(BM_RawWrite)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteDurable)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
  TestFolder folder;
  std::string path = folder.Path("list.dat");
  {
    LaunchSettingList list;
    MakeList(&list, static_cast<int>(state.range(0)), folder.Path("seed.dat"));
    list.SaveToFile(path.c_str(), kListFileSignature);
  }
  LaunchSettingList list;
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.LoadFromFile(path.c_str(), kListFileSignature, true));
  }
  state.SetBytesProcessed(state.iterations() * FileSizeFor(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_LoadFromFile)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same bytes in one read into a buffer that already exists.
void BM_RawRead(benchmark::State& state) {
  TestFolder folder;
  std::string path = folder.Path("raw.dat");
  Bytes bytes(FileSizeFor(static_cast<int>(state.range(0))), 0x41);
  WriteBytes(path, bytes);
  for (auto _ : state) {
    int fd = ::open(path.c_str(), O_RDONLY);
    benchmark::DoNotOptimize(::read(fd, bytes.data(), bytes.size()));
    ::close(fd);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_RawRead)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same read into memory taken from the heap each time, as a loader that keeps the data must.
void BM_RawReadIntoFreshMemory(benchmark::State& state) {
  TestFolder folder;
  std::string path = folder.Path("raw.dat");
  size_t size = FileSizeFor(static_cast<int>(state.range(0)));
  WriteBytes(path, Bytes(size, 0x41));
  for (auto _ : state) {
    auto* buffer = new unsigned char[size];
    int fd = ::open(path.c_str(), O_RDONLY);
    benchmark::DoNotOptimize(::read(fd, buffer, size));
    ::close(fd);
    benchmark::DoNotOptimize(buffer[size - 1]);
    delete[] buffer;
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_RawReadIntoFreshMemory)->Arg(30)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
