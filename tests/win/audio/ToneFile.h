// The one second of 440 Hz that the build writes next to the test programs.
#pragma once

#include <windows.h>

#include <string>

inline std::string ToneNextToProgram() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of("\\/") + 1) + "audio_tone.mp3";
}
