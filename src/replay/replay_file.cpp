// Encoding and decoding of replay files, with zlib for the body.
#include "replay/replay_file.h"

#include <zlib.h>

#include "replay/bytes.h"

namespace kesmir::replay {

namespace {

constexpr std::string_view kMagic = "KESMIRRP";

void WriteHeader(ByteWriter& w, const ReplayHeader& h) {
  w.Text(h.gameVersion);
  w.Varint(static_cast<std::uint64_t>(h.terrainMap));
  w.Text(h.name);
  w.Text(h.date);
  w.Signed(h.score);
  w.Signed(h.kills);
  w.Signed(h.minutes);
  w.Signed(h.seconds);
  for (int level : h.levels) w.Signed(level);
  w.Fixed64(h.stateHash);
}

bool ReadHeader(ByteReader& r, ReplayHeader& h) {
  h.gameVersion = r.Text(64);
  h.terrainMap = static_cast<int>(r.Varint() & 0xFF);
  h.name = r.Text(256);
  h.date = r.Text(16);
  auto number = [&r] { return static_cast<int>(r.Signed()); };
  h.score = number();
  h.kills = number();
  h.minutes = number();
  h.seconds = number();
  for (int& level : h.levels) level = number();
  h.stateHash = r.Fixed64();
  return !r.Failed();
}

}  // namespace

std::string EncodeReplay(const Replay& replay) {
  ByteWriter header;
  WriteHeader(header, replay.header);
  uLongf packedSize = compressBound(static_cast<uLong>(replay.body.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(replay.body.data()),
            static_cast<uLong>(replay.body.size()), Z_DEFAULT_COMPRESSION);
  packed.resize(packedSize);
  ByteWriter w;
  w.Append(kMagic);
  w.Varint(static_cast<std::uint64_t>(replay.header.formatVersion));
  w.Text(header.Bytes());
  w.Varint(replay.body.size());
  w.Varint(crc32(0, reinterpret_cast<const Bytef*>(replay.body.data()), static_cast<uInt>(replay.body.size())));
  w.Varint(packed.size());
  w.Append(packed);
  return w.Bytes();
}

std::optional<Replay> DecodeReplay(std::string_view file, std::string& error) {
  ByteReader r(file);
  if (r.Take(kMagic.size()) != kMagic) {
    error = "not a replay file";
    return std::nullopt;
  }
  Replay replay;
  replay.header.formatVersion = static_cast<int>(r.Varint() & 0x7FFFFFFF);
  if (r.Failed() || replay.header.formatVersion < kOldestFormatVersion ||
      replay.header.formatVersion > kFormatVersion) {
    error = "replay format " + std::to_string(replay.header.formatVersion) + "; this game reads formats " +
            std::to_string(kOldestFormatVersion) + " to " + std::to_string(kFormatVersion);
    return std::nullopt;
  }
  const std::string headerBytes = r.Text(1 << 12);
  ByteReader hr(headerBytes);
  const std::uint64_t bodySize = r.Varint();
  const std::uint64_t crc = r.Varint();
  const std::uint64_t packedSize = r.Varint();
  const std::string_view packed = r.Take(packedSize);
  if (r.Failed() || !ReadHeader(hr, replay.header)) {
    error = "the replay is cut short";
    return std::nullopt;
  }
  if (bodySize > kMaxBodyBytes) {
    error = "the replay claims a recording larger than " + std::to_string(kMaxBodyBytes >> 20) + " MB";
    return std::nullopt;
  }
  replay.body.resize(bodySize);
  uLongf unpacked = static_cast<uLongf>(bodySize);
  const int status = uncompress(reinterpret_cast<Bytef*>(replay.body.data()), &unpacked,
                                reinterpret_cast<const Bytef*>(packed.data()), static_cast<uLong>(packed.size()));
  if (status != Z_OK || unpacked != bodySize ||
      crc32(0, reinterpret_cast<const Bytef*>(replay.body.data()), static_cast<uInt>(bodySize)) != crc) {
    error = "the replay is damaged (its recording does not unpack to what it claims)";
    return std::nullopt;
  }
  return replay;
}

}  // namespace kesmir::replay
