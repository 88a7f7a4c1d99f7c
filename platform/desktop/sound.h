// Waves held in memory, played through SDL2_mixer. SDL needs no event loop,
// so a sound can be started, or played to its end, from inside a paint or
// a selection loop.
#pragma once

#include <cstddef>

struct Mix_Chunk;

namespace tarvel::platform {

class Sound {
 public:
  Sound() = default;
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Plays a RIFF wave on the one channel there is, cutting off the sound
  // playing. Synchronous play returns when the sound has ended. Bytes that
  // are no wave, or audio that cannot start, play nothing.
  void play(const void* wave, size_t bytes, bool synchronous);

  // Audio is open, on a device or on SDL's silent dummy driver. The first
  // call tries to open it.
  bool ready();

 private:
  bool openAudio();
  void waitForEnd();

  enum class State { Untried, Open, Failed };
  State state_ = State::Untried;
  Mix_Chunk* chunk_ = nullptr;  // the last sound played, freed when replaced
};

}  // namespace tarvel::platform
