// Sound through SDL2_mixer: buffers as mixer channels, hundredths of a decibel as gains.
#include "platform/sdl_audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>

namespace kesmir {

void MixChunkDeleter::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }

namespace {

// The format every sound is converted to when it loads, so that byte positions mean the same in every buffer.
constexpr int kRate = 22050;
constexpr int kChannels = 2;
constexpr int kDeviceFrames = 1024;

constexpr int kMinVolume = -10000;
constexpr int kMaxPan = 10000;

// A level in hundredths of a decibel as a gain factor.
double Gain(int hundredthsOfDb) { return std::pow(10.0, hundredthsOfDb / 2000.0); }

// alsa-lib's error printer, as declared by <alsa/error.h> (which does not compile on its own).
using AlsaErrorPrinter = void (*)(const char* file, int line, const char* function, int err, const char* fmt, ...);
using SetAlsaErrorPrinter = int (*)(AlsaErrorPrinter);

void PrintNothing(const char*, int, const char*, int, const char*, ...) {}

// While it exists, alsa-lib prints nothing: without a sound server or a sound card it prints a line for every
// device it looks for, and the game says in one line of its own that it plays silently. SDL uses the same
// loaded library, so the printer set here is the one SDL's ALSA driver meets.
class QuietAlsa {
 public:
  QuietAlsa() : library_(dlopen("libasound.so.2", RTLD_LAZY)) {
    if (library_) set_ = reinterpret_cast<SetAlsaErrorPrinter>(dlsym(library_, "snd_lib_error_set_handler"));
    if (set_) set_(PrintNothing);
  }
  ~QuietAlsa() {
    if (set_) set_(nullptr);  // alsa-lib's own printer again
    if (library_) dlclose(library_);
  }
  QuietAlsa(const QuietAlsa&) = delete;
  QuietAlsa& operator=(const QuietAlsa&) = delete;

 private:
  void* library_ = nullptr;
  SetAlsaErrorPrinter set_ = nullptr;
};

}  // namespace

SdlAudio::~SdlAudio() {
  if (!open_) return;
  for (int i = 0; i < static_cast<int>(buffers_.size()); ++i) Unload(i);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::Open(int buffers, std::string& reason) {
  if (open_) return true;
  const QuietAlsa quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    reason = SDL_GetError();
    return false;
  }
  // No format changes allowed: the mixer converts for the device, and start positions stay in this format.
  if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, kChannels, kDeviceFrames, nullptr, 0) != 0) {
    // With no device to open at all, the last driver tried has nothing to say that would help the player.
    reason = SDL_GetNumAudioDevices(0) == 0 ? "" : Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  frameBytes_ = std::max(1, static_cast<int>(SDL_AUDIO_BITSIZE(format)) / 8 * channels);
  buffers_.resize(static_cast<std::size_t>(std::max(0, buffers)));
  Mix_AllocateChannels(static_cast<int>(buffers_.size()));
  open_ = true;
  return true;
}

SdlAudio::Buffer* SdlAudio::Loaded(int buffer) {
  if (!open_ || buffer < 0 || buffer >= static_cast<int>(buffers_.size())) return nullptr;
  Buffer& slot = buffers_[static_cast<std::size_t>(buffer)];
  return slot.whole ? &slot : nullptr;
}

bool SdlAudio::Load(int buffer, const std::string& path) {
  if (!open_ || buffer < 0 || buffer >= static_cast<int>(buffers_.size())) return false;
  Unload(buffer);
  std::unique_ptr<Mix_Chunk, MixChunkDeleter> chunk(Mix_LoadWAV(path.c_str()));
  if (!chunk || chunk->alen < static_cast<Uint32>(frameBytes_)) return false;
  Buffer& slot = buffers_[static_cast<std::size_t>(buffer)];
  slot = Buffer{};
  slot.whole = std::move(chunk);
  Apply(buffer);
  return true;
}

void SdlAudio::Unload(int buffer) {
  Buffer* slot = Loaded(buffer);
  if (!slot) return;
  Mix_HaltChannel(buffer);
  slot->playing.reset();  // before `whole` and `rotated`, which it points into
  slot->rotated.clear();
  slot->whole.reset();
}

void SdlAudio::Apply(int buffer) {
  const Buffer& slot = buffers_[static_cast<std::size_t>(buffer)];
  double left = Gain(slot.volume);
  double right = left;
  if (slot.pan > 0) left *= Gain(-slot.pan);
  if (slot.pan < 0) right *= Gain(slot.pan);
  // The channel volume (0..128) carries the louder side, rounded up; the panning (0..255 a side) scales
  // each side down to its exact level, so quiet sounds keep their balance.
  const double loudest = std::max(left, right);
  const int volume = std::clamp(static_cast<int>(std::ceil(loudest * MIX_MAX_VOLUME - 1e-9)), 0, MIX_MAX_VOLUME);
  Mix_Volume(buffer, volume);
  if (volume == 0) return;
  const double scale = 255.0 * MIX_MAX_VOLUME / volume;
  const auto side = [scale](double gain) { return static_cast<Uint8>(std::clamp(std::lround(gain * scale), 0L, 255L)); };
  Mix_SetPanning(buffer, side(left), side(right));
}

bool SdlAudio::SetVolume(int buffer, int volume) {
  Buffer* slot = Loaded(buffer);
  if (!slot || volume < kMinVolume || volume > 0) return false;
  slot->volume = volume;
  Apply(buffer);
  return true;
}

bool SdlAudio::SetPan(int buffer, int pan) {
  Buffer* slot = Loaded(buffer);
  if (!slot || pan < -kMaxPan || pan > kMaxPan) return false;
  slot->pan = pan;
  Apply(buffer);
  return true;
}

void SdlAudio::Play(int buffer, long startByte, bool loop) {
  Buffer* slot = Loaded(buffer);
  if (!slot) return;
  const Uint32 length = slot->whole->alen;
  const long frame = frameBytes_;
  const long whole = startByte > 0 ? startByte / frame * frame : 0;
  const Uint32 start = whole < static_cast<long>(length) ? static_cast<Uint32>(whole) : 0;
  // The mixer forgets a channel's panning when it halts, so the levels are set again after halting.
  Mix_HaltChannel(buffer);
  if (!slot->playing || slot->playingStart != start || slot->playingLoops != loop) {
    slot->playing.reset();
    Uint8* data = slot->whole->abuf + start;
    Uint32 bytes = length - start;
    if (loop && start > 0) {
      slot->rotated.assign(data, data + bytes);
      slot->rotated.insert(slot->rotated.end(), slot->whole->abuf, data);
      data = slot->rotated.data();
      bytes = length;
    }
    slot->playing.reset(Mix_QuickLoad_RAW(data, bytes));
    slot->playingStart = start;
    slot->playingLoops = loop;
  }
  if (!slot->playing) return;
  Apply(buffer);
  Mix_PlayChannel(buffer, slot->playing.get(), loop ? -1 : 0);
}

void SdlAudio::Stop(int buffer) {
  if (Loaded(buffer) && Mix_Playing(buffer)) Mix_Pause(buffer);
}

void SdlAudio::PlayLooping(int buffer) {
  Buffer* slot = Loaded(buffer);
  if (!slot) return;
  if (Mix_Playing(buffer)) {
    if (!Mix_Paused(buffer)) return;
    if (slot->playingLoops) {
      Mix_Resume(buffer);
      return;
    }
  }
  // Never played, ran to its end, or stopped part-way through a single play: loop from the beginning.
  Play(buffer, 0, true);
}

}  // namespace kesmir
