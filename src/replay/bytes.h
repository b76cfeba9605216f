// Little byte streams for replays: unsigned and zigzag varints, raw numbers, strings; the reader is bounded.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kesmir::replay {

class ByteWriter {
 public:
  void Byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
  void Varint(std::uint64_t v) {
    while (v >= 0x80) {
      Byte(static_cast<std::uint8_t>(v | 0x80));
      v >>= 7;
    }
    Byte(static_cast<std::uint8_t>(v));
  }
  void Signed(std::int64_t v) {
    Varint((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
  }
  void Fixed64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Double(double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    Fixed64(bits);
  }
  void Text(std::string_view s) {
    Varint(s.size());
    out_.append(s);
  }
  void Append(std::string_view bytes) { out_.append(bytes); }
  const std::string& Bytes() const { return out_; }
  std::string& Bytes() { return out_; }

 private:
  std::string out_;
};

// Reads what ByteWriter wrote. Past the end or on a malformed number it answers 0 and stays failed.
class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::string_view in) : in_(in) {}
  std::uint8_t Byte() {
    if (pos_ >= in_.size()) {
      failed_ = true;
      return 0;
    }
    return static_cast<std::uint8_t>(in_[pos_++]);
  }
  std::uint64_t Varint() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t b = Byte();
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return failed_ ? 0 : v;
    }
    failed_ = true;
    return 0;
  }
  std::int64_t Signed() {
    const std::uint64_t v = Varint();
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
  }
  std::uint64_t Fixed64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return failed_ ? 0 : v;
  }
  double Double() {
    const std::uint64_t bits = Fixed64();
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  std::string Text(std::size_t maxBytes = 4096) {
    const std::uint64_t n = Varint();
    if (n > maxBytes || n > in_.size() - pos_) {
      failed_ = true;
      return {};
    }
    std::string s(in_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  std::string_view Take(std::size_t n) {
    if (n > in_.size() - pos_) {
      failed_ = true;
      return {};
    }
    const std::string_view s = in_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  bool Failed() const { return failed_; }
  bool AtEnd() const { return pos_ >= in_.size(); }
  std::size_t Position() const { return pos_; }

 private:
  std::string_view in_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace kesmir::replay
