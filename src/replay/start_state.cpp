// The carried-in state of a game: one list of fields, walked by a writer and by a reader.
#include "replay/start_state.h"

#include <cstring>
#include <type_traits>

namespace kesmir::replay {

namespace {

constexpr std::size_t kMaxTextBytes = 4096;

// The base picture's pixel at (x, y) as a surface holds it; 0 outside it or without one.
Colour BasePixel(const Image* base, int x, int y) {
  if (!base || x >= base->width || y >= base->height) return 0;
  const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(base->width) + static_cast<std::size_t>(x);
  return i < base->pixels.size() ? base->pixels[i] & 0x00FFFFFFu : 0;
}

struct Out {
  ByteWriter& w;
  template <typename T>
  void operator()(T& v) {
    if constexpr (std::is_same_v<T, bool>) {
      w.Byte(v ? 1 : 0);
    } else if constexpr (std::is_same_v<T, float>) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &v, sizeof bits);
      w.Varint(bits);
    } else if constexpr (std::is_same_v<T, double>) {
      w.Double(v);
    } else if constexpr (std::is_same_v<T, std::string>) {
      w.Text(v);
    } else if constexpr (std::is_signed_v<T>) {
      w.Signed(v);
    } else {
      w.Varint(v);
    }
  }
};

struct In {
  ByteReader& r;
  template <typename T>
  void operator()(T& v) {
    if constexpr (std::is_same_v<T, bool>) {
      v = r.Byte() != 0;
    } else if constexpr (std::is_same_v<T, float>) {
      const auto bits = static_cast<std::uint32_t>(r.Varint());
      std::memcpy(&v, &bits, sizeof v);
    } else if constexpr (std::is_same_v<T, double>) {
      v = r.Double();
    } else if constexpr (std::is_same_v<T, std::string>) {
      v = r.Text(kMaxTextBytes);
    } else if constexpr (std::is_signed_v<T>) {
      v = static_cast<T>(r.Signed());
    } else {
      v = static_cast<T>(r.Varint());
    }
  }
  bool Ok() const { return !r.Failed(); }
};

template <typename A, typename T, std::size_t N>
void Each(A& a, std::array<T, N>& values) {
  for (T& v : values) a(v);
}

template <typename A>
void Visit(A& a, Fighter& f) {
  a(f.Alive), a(f.X), a(f.Y), a(f.PathLeft), a(f.Heading), a(f.Facing), a(f.Cooldown), a(f.Kind), a(f.DateStamp);
  a(f.Name), a(f.Ammo), a(f.Speed), a(f.Health), a(f.Accuracy), a(f.BulletSpeed), a(f.Range), a(f.Recharge);
  a(f.Melee), a(f.BulletXp), a(f.AccuracyXp), a(f.RechargeXp), a(f.Reserved), a(f.MeleeXp);
}

template <typename A>
void Visit(A& a, Bullet& b) {
  a(b.Life), a(b.Direction), a(b.X), a(b.Y), a(b.StepX), a(b.StepY), a(b.Speed), a(b.Owner);
}

template <typename A>
void Visit(A& a, PlayState& p) {
  for (Fighter& f : p.Fighters) Visit(a, f);
  for (Bullet& b : p.Bullets) Visit(a, b);
  Each(a, p.BloodX), Each(a, p.BloodY), Each(a, p.BloodAngle), Each(a, p.BloodLife), Each(a, p.BloodSpeed);
  Each(a, p.HealthBoxX), Each(a, p.HealthBoxY), Each(a, p.HealthBoxOn), Each(a, p.AmmoBoxX), Each(a, p.AmmoBoxY);
  Each(a, p.AmmoBoxOn), Each(a, p.AmmoBoxAmount), Each(a, p.AcidX), Each(a, p.AcidY), Each(a, p.AcidOn);
  Each(a, p.AcidTimer), a(p.CleanerX), a(p.CleanerY), a(p.CleanerOn), Each(a, p.StepCounter);
  Each(a, p.StepLastPos), a(p.StepPos), a(p.Kills), a(p.Score), a(p.FightersAlive), a(p.NearestEnemy);
  a(p.FireHeldSeconds), Each(a, p.HitHistory), a(p.HitsInHistory), a(p.FireMode), a(p.ShakeOn), a(p.ScoreInfoOn);
  a(p.FrameParity), a(p.AcidIconX), a(p.AcidIconShown), a(p.Angle), a(p.Distance), a(p.StatBonus);
  a(p.FighterSlot), a(p.TextValue);
}

template <typename A>
void Visit(A& a, EffectsState& e) {
  a(e.AirPlaneOn), a(e.AirPlaneX), a(e.AirPlaneY), a(e.AirMission), a(e.AirDropX), a(e.AirDropY), a(e.AirTimer);
  a(e.SnowAmount), a(e.ScoreInfoFrames);
  for (SnowFlake& s : e.SnowFlakes) a(s.Active), a(s.X), a(s.Y), a(s.Angle), a(s.Speed), a(s.GroundY);
  a(e.ExplosionX), a(e.ExplosionY), a(e.ExplosionFrame);
}

template <typename A>
void Visit(A& a, Settings& o) {
  a(o.OptBloodFly), a(o.OptBloodStays), a(o.OptBulletFly), a(o.OptDebugInfo), a(o.OptScoreInfo), a(o.OptSnow);
  a(o.OptMono), a(o.SoundVolume), a(o.PlayTimeTotal), a(o.TimesPlayed), a(o.OptFootSteps), a(o.MapsGenerated);
  a(o.OptFullScreen), a(o.OptMovement), a(o.SoundMuted);
}

template <typename A>
void Visit(A& a, InputState& i) {
  for (std::uint8_t& k : i.KeyState) a(k);
  a(i.CursorX), a(i.CursorY), a(i.FireHeld), a(i.BombClick), a(i.FireModeKey), a(i.FocusLost), a(i.WorldSliderPos);
  a(i.WorldListOffset), a(i.Pad.held), a(i.Pad.repeatAt), a(i.Pad.health), a(i.Pad.wasInPlay);
}

template <typename A>
void Visit(A& a, Game& g) {
  std::uint64_t randomState = g.random.State();
  bool deterministic = g.random.Deterministic();
  a(randomState), a(deterministic);
  g.random.Seed(randomState);
  g.random.SetDeterministic(deterministic);
  Visit(a, g.settings);
  AppState& app = g.app;
  a(app.FieldOrigin.x), a(app.FieldOrigin.y), a(app.StatusOrigin.x), a(app.StatusOrigin.y), a(app.DegToRad);
  a(app.MenuScreen), a(app.GameStarted), a(app.GameStopped), a(app.WaveCount);
  ClockState& c = g.clock;
  a(c.FramesThisSecond), a(c.Fps), a(c.SecondMark), a(c.FrameDeadline), a(c.SpinCount), a(c.MaxSpin);
  a(c.GameSeconds), a(c.GameMinutes), a(c.SpawnTimer), a(c.WaveStart);
  Visit(a, g.input);
  Visit(a, g.play);
  Visit(a, g.effects);
  a(g.menus.MenuTextColor), a(g.menus.ClickedY), a(g.menus.HoverY), a(g.menus.LastHover);
  a(g.scores.NameEntryOn), a(g.scores.InsertIndex), a(g.scores.YourName), a(g.scores.YourNameFocus);
  for (Surface* s : {&g.surfaces.Field, &g.surfaces.Terain, &g.surfaces.StatusField, &g.surfaces.MenuField}) {
    a(s->foreColour), a(s->fontSize), a(s->fontBold), a(s->fontFixedWidth), a(s->penPosition.x);
    a(s->penPosition.y), a(s->penColour), a(s->backColour);
  }
}

}  // namespace

void WritePixels(ByteWriter& out, const Surface& s, const Image* base) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(s.Width()) * static_cast<std::size_t>(s.Height()) * 3);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const Colour c = s.Row(y)[x] ^ BasePixel(base, x, y);
      bytes.push_back(static_cast<char>(c & 255));
      bytes.push_back(static_cast<char>((c >> 8) & 255));
      bytes.push_back(static_cast<char>((c >> 16) & 255));
    }
  }
  out.Append(bytes);
}

bool ReadPixels(ByteReader& in, Surface& s, const Image* base) {
  const std::string_view bytes = in.Take(static_cast<std::size_t>(s.Width()) * static_cast<std::size_t>(s.Height()) * 3);
  if (in.Failed()) return false;
  std::size_t k = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x, k += 3) {
      s.Row(y)[x] = Rgb(static_cast<unsigned char>(bytes[k]), static_cast<unsigned char>(bytes[k + 1]),
                        static_cast<unsigned char>(bytes[k + 2])) ^
                    BasePixel(base, x, y);
    }
  }
  return true;
}

void WriteStartState(ByteWriter& out, Game& game) {
  Out a{out};
  Visit(a, game);
}

bool ReadStartState(ByteReader& in, Game& game) {
  In a{in};
  Visit(a, game);
  return a.Ok();
}

}  // namespace kesmir::replay
