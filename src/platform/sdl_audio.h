// The SDL2_mixer sound output: one mixer channel per buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ports.h"

struct Mix_Chunk;

namespace kesmir {

struct MixChunkDeleter {
  void operator()(Mix_Chunk* chunk) const;
};

// Buffer n plays on mixer channel n. The mixer is one per process: make one SdlAudio at a time.
class SdlAudio final : public ISound {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // The reason stays empty when no sound output was found at all (no sound server, no sound card).
  bool Open(int buffers, std::string& reason) override;
  bool Load(int buffer, const std::string& path) override;
  void Unload(int buffer) override;
  bool SetVolume(int buffer, int volume) override;
  bool SetPan(int buffer, int pan) override;
  void Play(int buffer, long startByte, bool loop) override;
  void Stop(int buffer) override;
  void PlayLooping(int buffer) override;

  // The bytes of one sample frame of the device format (0 while closed).
  int FrameBytes() const { return frameBytes_; }

 private:
  struct Buffer {
    std::unique_ptr<Mix_Chunk, MixChunkDeleter> whole;  // the file, in the device format
    // What the channel plays: a view into `whole` from the start position, or for a loop that starts
    // part-way, `rotated`: the sound from the start position round to it again, so that every pass after
    // the first is the whole sound.
    std::unique_ptr<Mix_Chunk, MixChunkDeleter> playing;
    std::vector<std::uint8_t> rotated;
    std::uint32_t playingStart = 0;
    bool playingLoops = false;
    int volume = 0;
    int pan = 0;
  };

  Buffer* Loaded(int buffer);
  // Sets the channel's volume and panning from the buffer's volume and pan.
  void Apply(int buffer);

  bool open_ = false;
  int frameBytes_ = 0;
  std::vector<Buffer> buffers_;
};

}  // namespace kesmir
