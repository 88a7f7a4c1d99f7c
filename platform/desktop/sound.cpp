#include "platform/desktop/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <climits>

namespace tarvel::platform {

namespace {
// Short enough that a click sound starts with the click.
constexpr int mixBufferFrames = 512;
// How long a synchronous play may outlast its sound before it gives up.
constexpr Uint32 endGraceMs = 1000;
}  // namespace

Sound::~Sound() {
  if (state_ != State::Open) return;
  Mix_HaltChannel(-1);
  if (chunk_) Mix_FreeChunk(chunk_);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Sound::openAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2,
                    mixBufferFrames) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(1);
  return true;
}

bool Sound::ready() {
  if (state_ == State::Untried) {
    // SDL's audio brings its event subsystem along, which would otherwise
    // take SIGINT and SIGTERM away from the application.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    state_ = State::Failed;
    if (openAudio()) {
      state_ = State::Open;
    } else {
      // No sound card: the dummy driver consumes samples in real time, so
      // a synchronous sound still lasts as long as it should.
      SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
      if (openAudio()) state_ = State::Open;
    }
  }
  return state_ == State::Open;
}

void Sound::play(const void* wave, size_t bytes, bool synchronous) {
  if (!wave || bytes == 0 || bytes > size_t(INT_MAX) || !ready()) return;
  Mix_HaltChannel(0);
  if (chunk_) {
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
  }
  SDL_RWops* in = SDL_RWFromConstMem(wave, int(bytes));
  if (!in) return;
  chunk_ = Mix_LoadWAV_RW(in, 1);
  if (!chunk_ || Mix_PlayChannel(0, chunk_, 0) < 0) return;
  if (synchronous) waitForEnd();
}

void Sound::waitForEnd() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (!Mix_QuerySpec(&frequency, &format, &channels)) return;
  Uint32 frameBytes = Uint32(SDL_AUDIO_BITSIZE(format) / 8 * channels);
  if (frequency <= 0 || frameBytes == 0) return;
  Uint32 lengthMs = Uint32(uint64_t(chunk_->alen) * 1000 /
                           (uint64_t(frequency) * frameBytes));
  Uint32 start = SDL_GetTicks();
  while (Mix_Playing(0) && SDL_GetTicks() - start < lengthMs + endGraceMs)
    SDL_Delay(1);
}

}  // namespace tarvel::platform
