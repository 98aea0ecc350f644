// The probes' shared log, closing the probes a test leaves behind, and a probe that holds a file.
#include "probe_log.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "support/cp932_text.h"
#include "support/end_probes.h"
#include "support/test_folder.h"

// Code page 932, as a setting keeps it; read wide, whatever the system's code page.
std::string ProbePath() { return Narrow932(OwnFolder() + L"\\probe.exe"); }

// Wide: the user's folder may have a name the system's code page lacks.
ProbeLog::ProbeLog() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  path_ = folder + (L"kmlaunch-probe-" + std::to_wstring(GetCurrentProcessId()) + L".log");
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(L"KM_PROBE_LOG", path_.c_str());
}

void CloseProbes() { EndProbesIn(OwnFolder()); }

ProbeLog::~ProbeLog() {
  CloseProbes();
  DeleteFileW(path_.c_str());
}

std::vector<std::string> ProbeLog::Lines() const {
  std::vector<std::string> lines;
  FILE* file = _wfopen(path_.c_str(), L"rb");
  if (file == nullptr) return lines;
  char line[8192];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    lines.push_back(text);
  }
  std::fclose(file);
  return lines;
}

std::vector<std::string> ProbeLog::Values(const std::string& key) const {
  std::vector<std::string> values;
  for (const std::string& line : Lines()) {
    if (line.rfind(key + "=", 0) == 0) values.push_back(line.substr(key.size() + 1));
  }
  return values;
}

bool HoldFile(const std::string& path, unsigned ms) {
  LaunchSettingList holder;
  std::string options =
      "--ready-at-once --hold " + std::to_string(ms) + " " + Narrow932(Wide932(path, CP_UTF8));
  return holder.Put(-1, MakeSetting("holder", ProbePath().c_str(), options.c_str())) &&
         holder.Launch(0);
}
