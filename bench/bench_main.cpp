// Benchmarks of the hot paths: a frame with every table full, the terrain filters, the score-line codec.
#include <benchmark/benchmark.h>

#include <string>

#include "core/random.h"
#include "fakes/world_files.h"
#include "fakes/fake_platform.h"
#include "network/ftp_exchange.h"
#include "network/version_check.h"
#include "render/surface.h"
#include "scores/world_merge.h"
#include "scores/score_line.h"
#include "simulation.h"
#include "terrain/pixel_filters.h"

namespace {

// One frame at maximum load: 50 opponents, 201 shots, every blood particle, a full sky of snow, an
// explosion, a bomb run and the Cleaner. The simulator's own timing of each RunFrame is reported too.
void BM_RunFrameMaxLoad(benchmark::State& state) {
  kesmir::sim::SimOptions options;
  options.maxLoad = true;
  options.minutes = 100000;
  options.maxFrames = 200;
  for (auto _ : state) {
    const kesmir::sim::SimResult r = kesmir::sim::RunSimulation(options);
    state.counters["frame_ns_p50"] = static_cast<double>(r.frameNsP50);
    state.counters["frame_ns_p99"] = static_cast<double>(r.frameNsP99);
  }
  state.SetItemsProcessed(state.iterations() * options.maxFrames);
}
BENCHMARK(BM_RunFrameMaxLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

kesmir::Surface NoisyMap() {
  kesmir::Surface map(300, 300);
  kesmir::Random random(7);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x)
      kesmir::SetPixel(map, x, y, static_cast<kesmir::Colour>(random.Rnd() * 16777215.0));
  return map;
}

void BM_Blur(benchmark::State& state) {
  const kesmir::Surface source = NoisyMap();
  kesmir::Surface destination(300, 300);
  for (auto _ : state) kesmir::Blur(source, 300, 300, destination, static_cast<kesmir::Integer>(state.range(0)));
}
BENCHMARK(BM_Blur)->Arg(1)->Arg(2)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_Diffuse(benchmark::State& state) {
  const kesmir::Surface source = NoisyMap();
  kesmir::Surface destination(300, 300);
  kesmir::Random random(3);
  for (auto _ : state) kesmir::Diffuse(random, source, 300, 300, destination, 2);
}
BENCHMARK(BM_Diffuse)->Unit(benchmark::kMillisecond);

void BM_ScaleUp(benchmark::State& state) {
  const kesmir::Surface source = NoisyMap();
  kesmir::Surface destination(304, 304);
  for (auto _ : state) kesmir::ScaleUp(source, 300, 300, destination, 304, 304);
}
BENCHMARK(BM_ScaleUp)->Unit(benchmark::kMillisecond);

const std::string kLine =
    "  589K= 41 T=12:07 A= 7 R= 4 B= 5 M= 3 MH=240 MA= 75 TP=   17HD=20021103?????????? N=Tessa";

void BM_ScoreLineEncode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kesmir::CodeScoreLine(kLine, true));
}
BENCHMARK(BM_ScoreLineEncode);

void BM_ScoreLineDecode(benchmark::State& state) {
  const std::string digits = kesmir::CodeScoreLine(kLine, true);
  for (auto _ : state) benchmark::DoNotOptimize(kesmir::CodeScoreLine(digits, false));
}
BENCHMARK(BM_ScoreLineDecode);

// The synchronisation fed the largest world list a download accepts (1 MiB: a hundred rows of very long
// lines), from the check of the download through the merge to the save and upload.
void BM_WorldMerge1MiB(benchmark::State& state) {
  std::string row = kesmir::CodeScoreLine(kLine + std::string(3000, 'n'), true);
  std::string served;
  for (int place = 0; place < 100; ++place) served += row + "\r\n";
  served += "END\r\n12\r\n20021103\r\n20021103\r\n";
  row.resize(row.size() - (served.size() - kesmir::kMaxWorldFileBytes) / 100 - 1);
  served.clear();
  for (int place = 0; place < 100; ++place) served += row + "\r\n";
  served += "END\r\n12\r\n20021103\r\n20021103\r\n";
  for (auto _ : state) {
    state.PauseTiming();
    kesmir::testing::FakeGame fake;
    fake.window.keepField = false;  // the game's work, not the fake window's copies of each progress step
    fake.WriteUserFile("OtherFiles/Network.txt", "ftp_host = scores.example\nweb_base = http://web.example\n");
    fake.network.webFiles["http://web.example" + std::string(kesmir::kAnnouncementFolder) +
                          std::string(kesmir::kAnnouncementName)] = "1.14 3.20                       Kesmir114.exe\r\n";
    fake.connection.answer = true;
    fake.network.ftpFiles[std::string(kesmir::kRemoteWorldFile)] = served;
    state.ResumeTiming();
    kesmir::DownloadWorldScores(*fake);
  }
  state.counters["bytes"] = static_cast<double>(served.size());
}
BENCHMARK(BM_WorldMerge1MiB)->Unit(benchmark::kMillisecond);

// The service's step for one upload: a player's local list (one new row, ten empty places) merged into a
// full world list, answered as the new list file.
void BM_ServiceMerge(benchmark::State& state) {
  const std::string world = kesmir::testing::WorldListFile(1000, "Seed", 41, "01.12.2026");
  const auto encoded = [](int score, const std::string& name) {
    return kesmir::CodeScoreLine(kesmir::JoinScoreLine(kesmir::testing::WorldTestRow(score, name)), true);
  };
  std::string upload = encoded(1500, "Newcomer") + "\r\n";
  const std::string empty = encoded(0, "");
  for (int place = 1; place < 11; ++place) upload += empty + "\r\n";
  upload += "END\r\n";
  const kesmir::Date today{.year = 2026, .month = 12, .day = 9};
  for (auto _ : state) benchmark::DoNotOptimize(kesmir::MergeWorldUpload(world, upload, today));
}
BENCHMARK(BM_ServiceMerge)->Unit(benchmark::kMicrosecond);

}  // namespace
