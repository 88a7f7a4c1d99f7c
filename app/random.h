// The trainer's random numbers: a generator of 0..32767 that is never
// seeded, so every run of the program draws the same sequence.
#pragma once

// The next number, 0..32767.
int trainerRand();

// A random whole number from 0 to k - 1 (k need not be whole): the next
// number scaled by the single-precision factor 32769 / 2^30 and by k,
// truncated. Never k itself, even for 32767.
int scaledRandom(double k);

// Scales a given draw the same way.
int scaleDraw(int r, double k);
