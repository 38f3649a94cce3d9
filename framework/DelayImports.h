// The DLLs, none a KnownDLL, that the program binds from System32 as it
// starts (framework/SystemLibrary.cpp): linked through delay-load import
// libraries, which cmake/DelayImports.cmake makes for each one named here.
#pragma once

#define FERRO_DELAY_IMPORTS \
    FERRO_DELAY_IMPORT(opengl32) FERRO_DELAY_IMPORT(glu32) FERRO_DELAY_IMPORT(winmm) FERRO_DELAY_IMPORT(msacm32)
