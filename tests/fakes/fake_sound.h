// A sound output that records what the game asks of it and keeps each buffer's volume, pan and state.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace kesmir::testing {

class FakeSound : public ISound {
 public:
  struct Buffer {
    std::string file;  // the file name it was loaded from
    int volume = 0;
    int pan = 0;
    bool playing = false;
    bool looping = false;
    long position = 0;  // where it starts or goes on from
  };
  // One start of a buffer, with the levels it started with.
  struct Start {
    int buffer;
    long startByte;
    bool loop;
    int volume;
    int pan;
  };

  bool failOpen = false;
  std::set<std::string> missing;  // file names that do not load
  int opens = 0;
  std::map<int, Buffer> buffers;  // the loaded ones
  std::vector<std::string> loads;  // file names in the order asked for
  std::vector<Start> starts;

  bool Open(int, std::string& reason) override {
    ++opens;
    if (failOpen) reason = "no device here";
    return !failOpen;
  }
  bool Load(int buffer, const std::string& path) override {
    const std::string name = std::filesystem::path(path).filename().string();
    loads.push_back(name);
    if (missing.count(name) != 0) return false;
    buffers[buffer] = Buffer{name};
    return true;
  }
  void Unload(int buffer) override { buffers.erase(buffer); }
  bool SetVolume(int buffer, int volume) override {
    auto it = buffers.find(buffer);
    if (it == buffers.end() || volume < -10000 || volume > 0) return false;
    it->second.volume = volume;
    return true;
  }
  bool SetPan(int buffer, int pan) override {
    auto it = buffers.find(buffer);
    if (it == buffers.end() || pan < -10000 || pan > 10000) return false;
    it->second.pan = pan;
    return true;
  }
  void Play(int buffer, long startByte, bool loop) override {
    auto it = buffers.find(buffer);
    if (it == buffers.end()) return;
    it->second.playing = true;
    it->second.looping = loop;
    it->second.position = startByte;
    starts.push_back({buffer, startByte, loop, it->second.volume, it->second.pan});
  }
  void Stop(int buffer) override {
    if (auto it = buffers.find(buffer); it != buffers.end()) it->second.playing = false;
  }
  void PlayLooping(int buffer) override {
    auto it = buffers.find(buffer);
    if (it == buffers.end()) return;
    it->second.playing = true;
    it->second.looping = true;
  }
};

}  // namespace kesmir::testing
