// What every Windows-side test program shares, as it may run on a person's
// own PC: rows that need what the PC lacks are skipped with the reason. It
// brings GoogleTest with it.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Why a row cannot prove its point here, or null when it can: no sound
// output device, no MP3 codec, or either (music); probed once, at the start.
const char* MissingSoundDevice();
const char* MissingMp3Codec();
inline const char* MissingForMusic() { return MissingSoundDevice() ? MissingSoundDevice() : MissingMp3Codec(); }
// The one second of 440 Hz that the build writes next to the test programs:
// its path in the system code page, through the folder's short form when the
// folder's name is outside that code page; empty when there is none.
std::string ToneNextToProgram();

// Skips the row, with the reason on a line of its own for the runner's summary.
#define FERRO_SKIP_IF(pszWhy)                                                                    \
    if (const char* pszSkip = (pszWhy); pszSkip != nullptr && std::printf("skipped: %s.%s: %s\n",         \
            ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name(),                     \
            ::testing::UnitTest::GetInstance()->current_test_info()->name(), pszSkip) > 0)                  \
        GTEST_SKIP() << pszSkip
