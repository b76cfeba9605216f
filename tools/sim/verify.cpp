// kesmir-sim --verify: a replay played again headlessly, and what it reached against what it claims.
#include <cmath>
#include <cstdio>

#include "app/options.h"
#include "core/files.h"
#include "core/game.h"
#include "fakes/fake_platform.h"
#include "render/graphics.h"
#include "replay/player.h"
#include "simulation.h"

namespace kesmir::sim {

namespace {

constexpr std::size_t kMaxReplayBytes = 32u << 20;

std::string Json(const replay::ReplayHeader& h) {
  char text[256];
  std::snprintf(text, sizeof text,
                "\"score\":%d,\"kills\":%d,\"game_minutes\":%d,\"game_seconds\":%d,\"levels\":[%d,%d,%d,%d],"
                "\"state_hash\":\"%016llx\"",
                h.score, h.kills, h.minutes, h.seconds, h.levels[0], h.levels[1], h.levels[2], h.levels[3],
                static_cast<unsigned long long>(h.stateHash));
  return text;
}

}  // namespace

int VerifyReplay(const std::string& file, const SimOptions& options) {
  const auto contents = ReadFileLimited(file, kMaxReplayBytes);
  std::string error = contents ? "" : "cannot read the file, or it is larger than 32 MB";
  const auto replay = contents ? replay::DecodeReplay(*contents, error) : std::nullopt;
  if (!replay) {
    std::fprintf(stderr, "kesmir-sim: %s: %s\n", file.c_str(), error.c_str());
    return 2;
  }
  const replay::PlayOutcome outcome = PlayHeadless(*replay, options);
  if (!outcome.ended) {
    std::fprintf(stderr, "kesmir-sim: %s: %s\n", file.c_str(), outcome.error.c_str());
    return 2;
  }
  const replay::ReplayHeader& reached = outcome.reached;
  const replay::ReplayHeader& claimed = replay->header;
  const bool equal = reached.score == claimed.score && reached.kills == claimed.kills &&
                     reached.minutes == claimed.minutes && reached.seconds == claimed.seconds &&
                     reached.levels == claimed.levels;
  std::printf("{%s,\"equal\":%s,\"state_hash_equal\":%s,\"pictures_exact\":%s,\"answers\":%lld,\"claimed\":{%s}}\n",
              Json(reached).c_str(), equal ? "true" : "false",
              reached.stateHash == claimed.stateHash ? "true" : "false", outcome.picturesExact ? "true" : "false",
              outcome.answers, Json(claimed).c_str());
  return equal ? 0 : 1;
}

replay::PlayOutcome PlayHeadless(const replay::Replay& replay, const SimOptions& options) {
  testing::FakeGame g;
  Game& game = *g;
  g.window.keepField = false;
  if (!options.dataDir.empty()) game.app.DataDir = options.dataDir;
  if (options.pictures) game.platform.pictures = options.pictures;
  if (options.fonts) game.platform.fonts = options.fonts;
  game.platform.sound = nullptr;
  game.random.SetDeterministic(false);
  LoadGraphics(game);

  replay::PlayerOptions play;
  play.pictureDir = options.userDir;
  play.pictures = options.pictures;
  replay::ReplayPlayer player(replay, play);
  return player.Play(game);
}

}  // namespace kesmir::sim
