// Writing and reading the recorded answers.
#include "replay/answers.h"

#include <algorithm>

namespace kesmir::replay {

namespace {

constexpr int kEventKinds = 7;

// The pad's numbers, in a fixed order, for writing only those that changed.
void PadFields(PadState& p, int* (&fields)[6]) {
  fields[0] = &p.leftX, fields[1] = &p.leftY, fields[2] = &p.rightX, fields[3] = &p.rightY;
  fields[4] = &p.leftTrigger, fields[5] = &p.rightTrigger;
}

}  // namespace

std::uint64_t ImageHash(const Image& image) {
  std::uint64_t hash = 14695981039346656037ull ^ (static_cast<std::uint64_t>(image.width) * 65536ull +
                                                  static_cast<std::uint64_t>(image.height));
  for (std::uint32_t p : image.pixels) hash = (hash * 1099511628211ull) ^ (p & 0x00FFFFFFu);
  return hash * 1099511628211ull;
}

void AnswerWriter::Keys(bool ok, const std::uint8_t (&state)[256]) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Keys));
  out_.Byte(ok ? 1 : 0);
  if (!ok) return;
  int changed = 0;
  for (int k = 0; k < 256; ++k) changed += state[k] != last_.keys[k] ? 1 : 0;
  out_.Varint(static_cast<std::uint64_t>(changed));
  for (int k = 0; k < 256; ++k) {
    if (state[k] == last_.keys[k]) continue;
    out_.Byte(static_cast<std::uint8_t>(k));
    out_.Byte(state[k]);
    last_.keys[k] = state[k];
  }
}

void AnswerWriter::Mouse(Point p) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Mouse));
  out_.Signed(static_cast<std::int64_t>(p.x) - last_.mouse.x);
  out_.Signed(static_cast<std::int64_t>(p.y) - last_.mouse.y);
  last_.mouse = p;
}

void AnswerWriter::Pad(const PadState& pad) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Pad));
  PadState now = pad;
  int* a[6];
  int* b[6];
  PadFields(now, a);
  PadFields(last_.pad, b);
  std::uint32_t mask = (now.connected ? 1u : 0u) | (now.lost ? 2u : 0u) | (now.buttons != last_.pad.buttons ? 4u : 0u);
  for (int i = 0; i < 6; ++i) mask |= *a[i] != *b[i] ? 8u << i : 0u;
  out_.Varint(mask);
  if (mask & 4u) out_.Varint(now.buttons);
  for (int i = 0; i < 6; ++i) {
    if (mask & (8u << i)) out_.Signed(static_cast<std::int64_t>(*a[i]) - *b[i]);
  }
  last_.pad = now;
}

void AnswerWriter::Clock(Tag tag, std::uint64_t micros) {
  out_.Byte(static_cast<std::uint8_t>(tag));
  out_.Signed(static_cast<std::int64_t>(micros - last_.micros));
  last_.micros = micros;
}

void AnswerWriter::Wait(std::uint64_t wake, std::uint64_t micros) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Wait));
  out_.Signed(static_cast<std::int64_t>(micros - wake));
  last_.micros = micros;
}

void AnswerWriter::Ticks(std::uint64_t millis) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Ticks));
  out_.Signed(static_cast<std::int64_t>(millis - last_.ticks));
  last_.ticks = millis;
}

void AnswerWriter::Today(const Date& d) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Today));
  out_.Signed(d.year), out_.Signed(d.month), out_.Signed(d.day);
}

void AnswerWriter::Event(bool got, const WindowEvent& e) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Event));
  out_.Byte(got ? static_cast<std::uint8_t>(static_cast<int>(e.kind) + 1) : 0);
  if (!got) return;
  out_.Signed(e.code);
  out_.Signed(e.position.x);
  out_.Signed(e.position.y);
}

void AnswerWriter::Flag(Tag tag, bool value) {
  out_.Byte(static_cast<std::uint8_t>(tag));
  out_.Byte(value ? 1 : 0);
}

void AnswerWriter::Reachable(std::optional<bool> answer) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Reachable));
  out_.Byte(!answer ? 0 : *answer ? 2 : 1);
}

void AnswerWriter::Picture(const PictureAnswer& answer) {
  out_.Byte(static_cast<std::uint8_t>(Tag::Picture));
  out_.Text(answer.file);
  out_.Byte(answer.ok ? 1 : 0);
  out_.Fixed64(answer.hash);
}

bool AnswerReader::Expect(Tag tag) {
  if (failed_) return false;
  if (in_.Byte() != static_cast<std::uint8_t>(tag) || in_.Failed()) failed_ = true;
  ++read_;
  return !failed_;
}

bool AnswerReader::Keys(bool& ok, std::uint8_t (&state)[256]) {
  if (!Expect(Tag::Keys)) return false;
  const std::uint8_t flag = in_.Byte();
  ok = flag == 1;
  if (ok) {
    const std::uint64_t changed = in_.Varint();
    if (changed > 256) failed_ = true;
    for (std::uint64_t i = 0; i < changed && !failed_; ++i) {
      const std::uint8_t k = in_.Byte();
      last_.keys[k] = in_.Byte();
    }
    std::copy(std::begin(last_.keys), std::end(last_.keys), std::begin(state));
  }
  failed_ = failed_ || flag > 1 || in_.Failed();
  return !failed_;
}

bool AnswerReader::Mouse(Point& p) {
  if (!Expect(Tag::Mouse)) return false;
  const std::int64_t x = last_.mouse.x + in_.Signed();
  const std::int64_t y = last_.mouse.y + in_.Signed();
  // A pointer far outside any canvas is not one the game was given.
  failed_ = in_.Failed() || x < -1000000 || x > 1000000 || y < -1000000 || y > 1000000;
  if (failed_) return false;
  last_.mouse = p = {static_cast<int>(x), static_cast<int>(y)};
  return true;
}

bool AnswerReader::Pad(PadState& pad) {
  if (!Expect(Tag::Pad)) return false;
  const std::uint64_t mask = in_.Varint();
  PadState now = last_.pad;
  now.connected = (mask & 1u) != 0;
  now.lost = (mask & 2u) != 0;
  if (mask & 4u) now.buttons = static_cast<std::uint32_t>(in_.Varint());
  int* a[6];
  PadFields(now, a);
  for (int i = 0; i < 6; ++i) {
    if (mask & (8u << i)) *a[i] = static_cast<int>(std::clamp<std::int64_t>(*a[i] + in_.Signed(), -32768, 32767));
  }
  failed_ = in_.Failed() || mask >= (8u << 6);
  if (failed_) return false;
  last_.pad = pad = now;
  return true;
}

bool AnswerReader::Clock(Tag tag, std::uint64_t& micros) {
  if (!Expect(tag)) return false;
  micros = last_.micros + static_cast<std::uint64_t>(in_.Signed());
  failed_ = in_.Failed();
  last_.micros = micros;
  return !failed_;
}

bool AnswerReader::Wait(std::uint64_t wake, std::uint64_t& micros) {
  if (!Expect(Tag::Wait)) return false;
  micros = wake + static_cast<std::uint64_t>(in_.Signed());
  failed_ = in_.Failed();
  last_.micros = micros;
  return !failed_;
}

bool AnswerReader::Ticks(std::uint64_t& millis) {
  if (!Expect(Tag::Ticks)) return false;
  millis = last_.ticks + static_cast<std::uint64_t>(in_.Signed());
  failed_ = in_.Failed();
  last_.ticks = millis;
  return !failed_;
}

bool AnswerReader::Today(Date& d) {
  if (!Expect(Tag::Today)) return false;
  d.year = static_cast<int>(in_.Signed());
  d.month = static_cast<int>(in_.Signed());
  d.day = static_cast<int>(in_.Signed());
  failed_ = in_.Failed();
  return !failed_;
}

bool AnswerReader::Event(bool& got, WindowEvent& e) {
  if (!Expect(Tag::Event)) return false;
  const int kind = in_.Byte();
  got = kind != 0;
  if (got) {
    e.kind = static_cast<EventKind>(std::min(kind, kEventKinds) - 1);
    e.code = static_cast<int>(in_.Signed());
    e.position.x = static_cast<int>(in_.Signed());
    e.position.y = static_cast<int>(in_.Signed());
  }
  failed_ = in_.Failed() || kind > kEventKinds;
  return !failed_;
}

bool AnswerReader::Flag(Tag tag, bool& value) {
  if (!Expect(tag)) return false;
  const std::uint8_t b = in_.Byte();
  value = b == 1;
  failed_ = in_.Failed() || b > 1;
  return !failed_;
}

bool AnswerReader::Reachable(std::optional<bool>& answer) {
  if (!Expect(Tag::Reachable)) return false;
  const std::uint8_t b = in_.Byte();
  answer = b == 0 ? std::nullopt : std::optional<bool>(b == 2);
  failed_ = in_.Failed() || b > 2;
  return !failed_;
}

bool AnswerReader::Picture(PictureAnswer& answer) {
  if (!Expect(Tag::Picture)) return false;
  answer.file = in_.Text(1024);
  const std::uint8_t ok = in_.Byte();
  answer.ok = ok == 1;
  answer.hash = in_.Fixed64();
  failed_ = in_.Failed() || ok > 1;
  return !failed_;
}

}  // namespace kesmir::replay
