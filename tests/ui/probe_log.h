// The probe program the launch tests start, and the log in which every probe records how it was
// started and when it became ready.
#pragma once

#include <string>
#include <vector>

// probe.exe beside the test program.
std::string ProbePath();

// Closes every probe still running and waits for each to end.
void CloseProbes();

// A fresh log for the probes of one test; every probe still running is closed at the end.
class ProbeLog {
 public:
  ProbeLog();
  ~ProbeLog();
  std::vector<std::string> Lines() const;
  // The values of one key, in the order the probes wrote them.
  std::vector<std::string> Values(const std::string& key) const;
  int Count(const std::string& key) const { return static_cast<int>(Values(key).size()); }

 private:
  std::wstring path_;
};

// Starts a probe that holds path for ms, sharing reading only, as a scanner does; true once it
// holds it. CloseProbes ends a hold early.
bool HoldFile(const std::string& path, unsigned ms);
