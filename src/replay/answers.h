// The recorded answers of the platform ports, in the order the game read them: each a tag and what changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ports.h"
#include "replay/bytes.h"

namespace kesmir::replay {

enum class Tag : std::uint8_t {
  Keys = 'K',
  Mouse = 'M',
  Pad = 'P',
  Micros = 'C',
  Wait = 'W',
  Ticks = 'T',
  Today = 'D',
  Event = 'E',
  Acquire = 'A',
  ScreenMode = 'V',
  Dialog = 'G',
  Reachable = 'R',
  Picture = 'I',
  Saved = 'B',
};

// What a picture load answered: the file relative to the user or data folder, and a fingerprint of it.
struct PictureAnswer {
  std::string file;
  bool ok = false;
  std::uint64_t hash = 0;
};

std::uint64_t ImageHash(const Image& image);

// The previous answer of each kind, so that only changes are written.
struct AnswerMemory {
  std::uint8_t keys[256] = {};
  Point mouse;
  PadState pad;
  std::uint64_t micros = 0;
  std::uint64_t ticks = 0;
};

class AnswerWriter {
 public:
  void Keys(bool ok, const std::uint8_t (&state)[256]);
  void Mouse(Point p);
  void Pad(const PadState& pad);
  void Clock(Tag tag, std::uint64_t micros);
  // The wake-up reading of a pacing wait, as its lateness past the wake-up time.
  void Wait(std::uint64_t wake, std::uint64_t micros);
  void Ticks(std::uint64_t millis);
  void Today(const Date& d);
  void Event(bool got, const WindowEvent& e);
  void Flag(Tag tag, bool value);
  void Reachable(std::optional<bool> answer);
  void Picture(const PictureAnswer& answer);
  const std::string& Bytes() const { return out_.Bytes(); }

 private:
  ByteWriter out_;
  AnswerMemory last_;
};

// Reads the answers back; each call expects its own kind next and returns false (for good) when it is not.
class AnswerReader {
 public:
  explicit AnswerReader(std::string_view bytes) : in_(bytes) {}
  bool Keys(bool& ok, std::uint8_t (&state)[256]);
  bool Mouse(Point& p);
  bool Pad(PadState& pad);
  bool Clock(Tag tag, std::uint64_t& micros);
  bool Wait(std::uint64_t wake, std::uint64_t& micros);
  bool Ticks(std::uint64_t& millis);
  bool Today(Date& d);
  bool Event(bool& got, WindowEvent& e);
  bool Flag(Tag tag, bool& value);
  bool Reachable(std::optional<bool>& answer);
  bool Picture(PictureAnswer& answer);
  bool AtEnd() const { return in_.AtEnd(); }
  // The kind of the next answer, without reading it; nullopt at the end.
  std::optional<Tag> Next() const {
    ByteReader peek = in_;
    const std::uint8_t tag = peek.Byte();
    return failed_ || peek.Failed() ? std::nullopt : std::optional<Tag>(static_cast<Tag>(tag));
  }
  long long Read() const { return read_; }
  std::size_t Position() const { return in_.Position(); }

 private:
  bool Expect(Tag tag);
  ByteReader in_;
  AnswerMemory last_;
  bool failed_ = false;
  long long read_ = 0;
};

}  // namespace kesmir::replay
