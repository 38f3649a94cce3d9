// The five settings the user keeps, and their place in the registry:
// HKCU\software\Vantrel\Ferrovane ScreenSaver\Config.
#pragma once

#include <string>

struct SaverSettings {
    int m_bMotionBlur = 1;           // "Motion Blur"
    float m_fOscillations = 1.0f;    // "OPS", stored as a count of tenths
    float m_fRevolutions = 0.6f;     // "RPS", stored as a count of tenths
    std::string m_strMp3Path;        // "MP3 Sound"
    int m_bMusic = 1;                // "bMusic"
};

// Reads the five values in the order Motion Blur, OPS, RPS, MP3 Sound, bMusic;
// a value that is missing or unreadable yields its default.
SaverSettings LoadSettings();

// Writes the five values in the same order; failed writes are ignored.
void SaveSettings(const SaverSettings& settings);

// Conversions between the stored counts of tenths and the rates.
float RateFromTenths(unsigned int nTenths);
unsigned int TenthsFromRate(float fRate);
