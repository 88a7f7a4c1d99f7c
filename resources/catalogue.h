// What the trainer's resources are: the pictures by id with their sizes and
// the sounds by name with their formats. The generator makes exactly these;
// the library serves exactly these.
#pragma once

namespace resources {

struct PictureEntry {
  int id;
  int width;
  int height;
};

inline constexpr PictureEntry pictureCatalogue[] = {
    {130, 600, 400},  // title
    {131, 199, 191},  // logo, brightest ...
    {132, 199, 191}, {133, 199, 191}, {134, 199, 191}, {135, 199, 191},
    {136, 199, 191}, {137, 199, 191}, {138, 199, 191}, {139, 199, 191},
    {140, 199, 191},  // ... almost black
    {141, 119, 134},  // laboratory on white
    {142, 119, 137},  // training on black
    {143, 60, 60},    // logo button on black
    {145, 60, 60},    // logo button on white
    {146, 119, 134},  // laboratory on yellow
    {147, 119, 137},  // training on white
    {148, 104, 104},  // duck
    {149, 79, 79},    // pig
    {150, 104, 104},  // apple
    {151, 104, 104},  // bananas
    {152, 104, 104},  // saw
    {153, 104, 104},  // hammer
    {154, 104, 104},  // wrench
    {155, 104, 104},  // car
    {156, 104, 104},  // forklift
    {157, 104, 104},  // tricycle
    {158, 104, 104},  // truck
    {159, 28, 28},    // red lamp, dim
    {160, 28, 28},    // red lamp, lit
    {161, 28, 28},    // amber lamp, dim (a spare pair: no screen shows it)
    {162, 28, 28},    // amber lamp, lit
    {163, 28, 28},    // green lamp, dim
    {164, 28, 28},    // green lamp, lit
    {165, 600, 400},  // results background
    {166, 135, 50},   // needle strips ...
    {167, 135, 50},  {168, 135, 50},  // ... the one the needle comes to rest on
    {169, 135, 50},  {170, 135, 50},  {171, 135, 50},  {172, 135, 50},
    {173, 135, 50},  {174, 135, 50},  {175, 135, 50},
};
inline constexpr int pictureCount =
    sizeof pictureCatalogue / sizeof pictureCatalogue[0];

struct SoundEntry {
  const char* name;
  int rate;  // samples per second
  int bits;  // 8 (unsigned) or 16 (signed)
  double seconds;
};

inline constexpr SoundEntry soundCatalogue[] = {
    {"IDW_OPENING", 44100, 16, 2.64}, {"IDW_CHOICE", 44100, 16, 1.65},
    {"IDW_WHOOSH", 44100, 16, 0.76},  {"IDW_CLICK", 22050, 16, 0.06},
    {"IDW_BACK", 44100, 16, 1.00},    {"IDW_RIGHT", 22050, 16, 0.25},
    {"IDW_WRONG", 22050, 16, 0.51},   {"IDW_DRUMROLL", 8000, 8, 3.01},
    {"IDW_REPORT", 44100, 16, 0.34},  {"IDW_RICOCHET", 8000, 8, 1.50},
    {"IDW_TYPE", 22050, 8, 0.21},
};
inline constexpr int soundCount =
    sizeof soundCatalogue / sizeof soundCatalogue[0];

// The window's icon: one picture per size, square, in pixels.
inline constexpr int iconSizes[] = {32, 16};
// The sizes installed into the desktop's hicolor icon theme.
inline constexpr int desktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// File names inside the generated folder and the embedded resource tree;
// an icon's is "icon_128_" followed by its size and ".png".
inline constexpr const char* cursorFileName = "cursor_144.png";

}  // namespace resources
