// The recorded answers of the platform ports, in the order the game read them: each a tag and what changed.
#pragma once

#include <cstdint>
#include <iterator>
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

// The kinds in the order their streams are stored (format 2): each kind's payloads lie together, so that
// zlib meets like next to like.
inline constexpr Tag kStreamOrder[] = {Tag::Keys, Tag::Mouse, Tag::Pad,   Tag::Micros, Tag::Wait,     Tag::Ticks,
                                       Tag::Today, Tag::Event, Tag::Acquire, Tag::ScreenMode, Tag::Dialog,
                                       Tag::Reachable, Tag::Picture, Tag::Saved};
inline constexpr std::size_t kStreams = std::size(kStreamOrder);

// The previous answer of each kind, so that only changes are written.
struct AnswerMemory {
  std::uint8_t keys[256] = {};
  Point mouse;
  PadState pad;
  std::uint64_t micros = 0;
  std::uint64_t ticks = 0;
};

// Writes format 2: the tags in one stream, each kind's payloads in a stream of its own.
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
  // The streams, each a varint length and its bytes: the tags first, then the kinds in kStreamOrder.
  std::string Bytes() const;

 private:
  ByteWriter& Start(Tag tag);
  ByteWriter tags_;
  ByteWriter streams_[kStreams];
  AnswerMemory last_;
};

// Reads the answers back; each call expects its own kind next and returns false (for good) when it is not.
// Format 1 kept every answer in one stream, tag and payload together, and milliseconds as a change from
// the previous millisecond reading; format 2 reads them as a change from the latest microsecond reading.
class AnswerReader {
 public:
  // Reads bytes in place: they must outlive the reader.
  AnswerReader(std::string_view bytes, int formatVersion);
  AnswerReader(std::string&& bytes, int formatVersion) = delete;
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
  bool AtEnd() const;
  // The kind of the next answer, without reading it; nullopt at the end.
  std::optional<Tag> Next() const {
    ByteReader peek = single_;
    const std::uint8_t tag = peek.Byte();
    return failed_ || peek.Failed() ? std::nullopt : std::optional<Tag>(static_cast<Tag>(tag));
  }
  long long Read() const { return read_; }

 private:
  bool Expect(Tag tag);
  // The payload stream of the answer being read.
  ByteReader& In() { return current_ < 0 ? single_ : streams_[current_]; }
  int version_;
  ByteReader single_;  // format 1: every answer; format 2: the tags
  ByteReader streams_[kStreams];
  int current_ = -1;
  AnswerMemory last_;
  bool failed_ = false;
  long long read_ = 0;
};

}  // namespace kesmir::replay
