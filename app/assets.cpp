#include "app/assets.h"

#include "platform/platform.h"
#include "resources/resources.h"

Pictures::Pictures() {
  for (int id = TitlePicture; id <= LastPicture; id++)
    images_[id - TitlePicture] = resources::bitmap(id);
}

const QImage& Pictures::operator[](int id) const {
  static const QImage none;
  return id >= TitlePicture && id <= LastPicture ? images_[id - TitlePicture]
                                                 : none;
}

void play(const char* sound, bool synchronous) {
  resources::Wave wave = resources::sound(sound);
  platform::current().playSound(sound, wave.data, wave.size, synchronous);
}
