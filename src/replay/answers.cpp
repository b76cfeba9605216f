// Writing and reading the recorded answers.
#include "replay/answers.h"

#include <algorithm>
#include <array>

namespace kesmir::replay {

namespace {

constexpr int kEventKinds = 7;

int StreamOf(Tag tag) {
  for (std::size_t i = 0; i < kStreams; ++i) {
    if (kStreamOrder[i] == tag) return static_cast<int>(i);
  }
  return -1;
}

// The pad's numbers, in a fixed order, for writing only those that changed.
using PadNumbers = std::array<int*, 6>;
PadNumbers PadFields(PadState& p) {
  return {&p.leftX, &p.leftY, &p.rightX, &p.rightY, &p.leftTrigger, &p.rightTrigger};
}

}  // namespace

std::uint64_t ImageHash(const Image& image) {
  std::uint64_t hash = 14695981039346656037ull ^ (static_cast<std::uint64_t>(image.width) * 65536ull +
                                                  static_cast<std::uint64_t>(image.height));
  for (std::uint32_t p : image.pixels) hash = (hash * 1099511628211ull) ^ (p & 0x00FFFFFFu);
  return hash * 1099511628211ull;
}

ByteWriter& AnswerWriter::Start(Tag tag) {
  tags_.Byte(static_cast<std::uint8_t>(tag));
  return streams_[StreamOf(tag)];
}

std::string AnswerWriter::Bytes() const {
  ByteWriter out;
  out.Text(tags_.Bytes());
  for (const ByteWriter& stream : streams_) out.Text(stream.Bytes());
  return std::move(out.Bytes());
}

void AnswerWriter::Keys(bool ok, const std::uint8_t (&state)[256]) {
  ByteWriter& out = Start(Tag::Keys);
  out.Byte(ok ? 1 : 0);
  if (!ok) return;
  int changed = 0;
  for (int k = 0; k < 256; ++k) changed += state[k] != last_.keys[k] ? 1 : 0;
  out.Varint(static_cast<std::uint64_t>(changed));
  for (int k = 0; k < 256; ++k) {
    if (state[k] == last_.keys[k]) continue;
    out.Byte(static_cast<std::uint8_t>(k));
    out.Byte(state[k]);
    last_.keys[k] = state[k];
  }
}

void AnswerWriter::Mouse(Point p) {
  ByteWriter& out = Start(Tag::Mouse);
  out.Signed(static_cast<std::int64_t>(p.x) - last_.mouse.x);
  out.Signed(static_cast<std::int64_t>(p.y) - last_.mouse.y);
  last_.mouse = p;
}

void AnswerWriter::Pad(const PadState& pad) {
  ByteWriter& out = Start(Tag::Pad);
  PadState now = pad;
  const PadNumbers a = PadFields(now);
  const PadNumbers b = PadFields(last_.pad);
  std::uint32_t mask = (now.connected ? 1u : 0u) | (now.lost ? 2u : 0u) | (now.buttons != last_.pad.buttons ? 4u : 0u);
  for (std::size_t i = 0; i < a.size(); ++i) mask |= *a[i] != *b[i] ? 8u << i : 0u;
  out.Varint(mask);
  if (mask & 4u) out.Varint(now.buttons);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (mask & (8u << i)) out.Signed(static_cast<std::int64_t>(*a[i]) - *b[i]);
  }
  last_.pad = now;
}

void AnswerWriter::Clock(Tag tag, std::uint64_t micros) {
  ByteWriter& out = Start(tag);
  out.Signed(static_cast<std::int64_t>(micros - last_.micros));
  last_.micros = micros;
}

void AnswerWriter::Wait(std::uint64_t wake, std::uint64_t micros) {
  ByteWriter& out = Start(Tag::Wait);
  out.Signed(static_cast<std::int64_t>(micros - wake));
  last_.micros = micros;
}

void AnswerWriter::Ticks(std::uint64_t millis) {
  ByteWriter& out = Start(Tag::Ticks);
  // Most millisecond readings follow a microsecond reading within the same millisecond, and the next
  // microsecond reading comes within the millisecond read: each is written as a change from the other.
  out.Signed(static_cast<std::int64_t>(millis - last_.micros / 1000));
  last_.micros = std::max(last_.micros, millis * 1000);
}

void AnswerWriter::Today(const Date& d) {
  ByteWriter& out = Start(Tag::Today);
  out.Signed(d.year), out.Signed(d.month), out.Signed(d.day);
}

void AnswerWriter::Event(bool got, const WindowEvent& e) {
  ByteWriter& out = Start(Tag::Event);
  out.Byte(got ? static_cast<std::uint8_t>(static_cast<int>(e.kind) + 1) : 0);
  if (!got) return;
  out.Signed(e.code);
  out.Signed(e.position.x);
  out.Signed(e.position.y);
}

void AnswerWriter::Flag(Tag tag, bool value) {
  ByteWriter& out = Start(tag);
  out.Byte(value ? 1 : 0);
}

void AnswerWriter::Reachable(std::optional<bool> answer) {
  ByteWriter& out = Start(Tag::Reachable);
  out.Byte(!answer ? 0 : *answer ? 2 : 1);
}

void AnswerWriter::Picture(const PictureAnswer& answer) {
  ByteWriter& out = Start(Tag::Picture);
  out.Text(answer.file);
  out.Byte(answer.ok ? 1 : 0);
  out.Fixed64(answer.hash);
}

AnswerReader::AnswerReader(std::string_view bytes, int formatVersion) : version_(formatVersion), single_(bytes) {
  if (version_ < 2) return;
  ByteReader in(bytes);
  auto stream = [&in] { return ByteReader(in.Take(in.Varint())); };
  single_ = stream();
  for (ByteReader& s : streams_) s = stream();
  failed_ = in.Failed() || !in.AtEnd();
}

bool AnswerReader::AtEnd() const {
  if (!single_.AtEnd()) return false;
  if (version_ < 2) return true;
  return std::all_of(std::begin(streams_), std::end(streams_), [](const ByteReader& s) { return s.AtEnd(); });
}

bool AnswerReader::Expect(Tag tag) {
  if (failed_) return false;
  current_ = -1;
  if (single_.Byte() != static_cast<std::uint8_t>(tag) || single_.Failed()) failed_ = true;
  if (version_ >= 2) current_ = StreamOf(tag);
  ++read_;
  return !failed_;
}

bool AnswerReader::Keys(bool& ok, std::uint8_t (&state)[256]) {
  if (!Expect(Tag::Keys)) return false;
  const std::uint8_t flag = In().Byte();
  ok = flag == 1;
  if (ok) {
    const std::uint64_t changed = In().Varint();
    if (changed > 256) failed_ = true;
    for (std::uint64_t i = 0; i < changed && !failed_; ++i) {
      const std::uint8_t k = In().Byte();
      last_.keys[k] = In().Byte();
    }
    std::copy(std::begin(last_.keys), std::end(last_.keys), std::begin(state));
  }
  failed_ = failed_ || flag > 1 || In().Failed();
  return !failed_;
}

bool AnswerReader::Mouse(Point& p) {
  if (!Expect(Tag::Mouse)) return false;
  const std::int64_t x = last_.mouse.x + In().Signed();
  const std::int64_t y = last_.mouse.y + In().Signed();
  // A pointer far outside any canvas is not one the game was given.
  failed_ = In().Failed() || x < -1000000 || x > 1000000 || y < -1000000 || y > 1000000;
  if (failed_) return false;
  last_.mouse = p = {static_cast<int>(x), static_cast<int>(y)};
  return true;
}

bool AnswerReader::Pad(PadState& pad) {
  if (!Expect(Tag::Pad)) return false;
  const std::uint64_t mask = In().Varint();
  PadState now = last_.pad;
  now.connected = (mask & 1u) != 0;
  now.lost = (mask & 2u) != 0;
  if (mask & 4u) now.buttons = static_cast<std::uint32_t>(In().Varint());
  const PadNumbers a = PadFields(now);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (mask & (8u << i)) *a[i] = static_cast<int>(std::clamp<std::int64_t>(*a[i] + In().Signed(), -32768, 32767));
  }
  failed_ = In().Failed() || mask >= (8u << 6);
  if (failed_) return false;
  last_.pad = pad = now;
  return true;
}

bool AnswerReader::Clock(Tag tag, std::uint64_t& micros) {
  if (!Expect(tag)) return false;
  micros = last_.micros + static_cast<std::uint64_t>(In().Signed());
  failed_ = In().Failed();
  last_.micros = micros;
  return !failed_;
}

bool AnswerReader::Wait(std::uint64_t wake, std::uint64_t& micros) {
  if (!Expect(Tag::Wait)) return false;
  micros = wake + static_cast<std::uint64_t>(In().Signed());
  failed_ = In().Failed();
  last_.micros = micros;
  return !failed_;
}

bool AnswerReader::Ticks(std::uint64_t& millis) {
  if (!Expect(Tag::Ticks)) return false;
  const std::uint64_t from = version_ < 2 ? last_.ticks : last_.micros / 1000;
  millis = from + static_cast<std::uint64_t>(In().Signed());
  failed_ = In().Failed();
  last_.ticks = millis;
  if (version_ >= 2) last_.micros = std::max(last_.micros, millis * 1000);
  return !failed_;
}

bool AnswerReader::Today(Date& d) {
  if (!Expect(Tag::Today)) return false;
  d.year = static_cast<int>(In().Signed());
  d.month = static_cast<int>(In().Signed());
  d.day = static_cast<int>(In().Signed());
  failed_ = In().Failed();
  return !failed_;
}

bool AnswerReader::Event(bool& got, WindowEvent& e) {
  if (!Expect(Tag::Event)) return false;
  const int kind = In().Byte();
  got = kind != 0;
  if (got) {
    e.kind = static_cast<EventKind>(std::min(kind, kEventKinds) - 1);
    e.code = static_cast<int>(In().Signed());
    e.position.x = static_cast<int>(In().Signed());
    e.position.y = static_cast<int>(In().Signed());
  }
  failed_ = In().Failed() || kind > kEventKinds;
  return !failed_;
}

bool AnswerReader::Flag(Tag tag, bool& value) {
  if (!Expect(tag)) return false;
  const std::uint8_t b = In().Byte();
  value = b == 1;
  failed_ = In().Failed() || b > 1;
  return !failed_;
}

bool AnswerReader::Reachable(std::optional<bool>& answer) {
  if (!Expect(Tag::Reachable)) return false;
  const std::uint8_t b = In().Byte();
  answer = b == 0 ? std::nullopt : std::optional<bool>(b == 2);
  failed_ = In().Failed() || b > 2;
  return !failed_;
}

bool AnswerReader::Picture(PictureAnswer& answer) {
  if (!Expect(Tag::Picture)) return false;
  answer.file = In().Text(1024);
  const std::uint8_t ok = In().Byte();
  answer.ok = ok == 1;
  answer.hash = In().Fixed64();
  failed_ = In().Failed() || ok > 1;
  return !failed_;
}

}  // namespace kesmir::replay
