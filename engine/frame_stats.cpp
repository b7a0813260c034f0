#include "engine/frame_stats.h"

#include <chrono>
#include <cstdlib>

namespace {
constexpr const char* kVariable = "KALVORA_FRAME_STATS";
}  // namespace

FrameStats::FrameStats() {
  const char* path = std::getenv(kVariable);
  if (path && *path) file_ = std::fopen(path, "w");
}

FrameStats::~FrameStats() {
  if (file_) std::fclose(file_);
}

void FrameStats::StartWork() {
  if (file_) workStart_ = std::clock();
}

void FrameStats::Record(int64_t frame, int32_t room, int64_t latenessMicros, int64_t workMicros) {
  if (!file_) return;
  using namespace std::chrono;
  const long long wallMicros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  const long long cpuMicros = (long long)(std::clock() - workStart_) * 1000000 / CLOCKS_PER_SEC;
  std::fprintf(file_, "%lld %d %lld %lld %lld %lld\n", (long long)frame, int(room), (long long)latenessMicros,
               (long long)workMicros, wallMicros, cpuMicros);
}
