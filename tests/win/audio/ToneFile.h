// The one second of 440 Hz that the build writes next to the test programs.
#pragma once

#include "win/TestPack.h"

inline std::string ToneNextToProgram() { return AnsiPathNextToProgram("audio_tone.mp3"); }
