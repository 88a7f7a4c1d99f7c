// The trainer's pictures by name, and its sounds.
#pragma once

#include <QImage>

// Ids of the bitmaps the screens are made of.
enum Picture {
  TitlePicture = 130,
  LogoLastStep = 131,  // the logo grows through 140 down to 131
  LogoFirstStep = 140,
  LabPictureOnBlack = 141,
  TrainingPictureOnBlack = 142,
  LogoButtonOnBlack = 143,
  LogoButtonOnWhite = 145,
  LabAreaPicture = 146,
  TrainingAreaPicture = 147,
  FirstItemPicture = 148,  // one for each practice item, in item order
  RedLampOff = 159,
  RedLampOn = 160,
  GreenLampOff = 163,
  GreenLampOn = 164,
  ResultsBackground = 165,
  FirstNeedlePicture = 166,  // the needle swinging, ten of them
  NeedleAtRest = 168,
  LastPicture = 175,
};

// The pictures, made once for the life of the program.
class Pictures {
 public:
  Pictures();
  // An empty image for an id out of range.
  const QImage& operator[](int id) const;

 private:
  QImage images_[LastPicture - TitlePicture + 1];
};

// Plays one of the trainer's sounds; a synchronous one returns when it ends.
void play(const char* sound, bool synchronous = false);
