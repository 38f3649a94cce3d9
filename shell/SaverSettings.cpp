#include "shell/SaverSettings.h"

#include "framework/WinApp.h"

#include <cmath>

namespace {

const char kSection[] = "Config";

}  // namespace

float RateFromTenths(unsigned int nTenths)
{
    // The float nearest 0.1, multiplied in double and rounded once to float,
    // so that 6 gives exactly the float 0.6.
    return static_cast<float>(static_cast<double>(nTenths) * static_cast<double>(0.1f));
}

unsigned int TenthsFromRate(float fRate)
{
    const double tenths = std::floor(static_cast<double>(fRate) * 10.0 + 0.5);
    if (!(tenths >= 0.0))  // negative or not a number
        return 0;
    if (tenths >= 4294967295.0)
        return 4294967295u;
    return static_cast<unsigned int>(tenths);
}

SaverSettings LoadSettings()
{
    CWinApp* app = GetApp();
    SaverSettings s;
    s.m_bMotionBlur = static_cast<int>(app->ReadSettingInt(kSection, "Motion Blur", 1));
    s.m_fOscillations = RateFromTenths(app->ReadSettingInt(kSection, "OPS", 10));
    s.m_fRevolutions = RateFromTenths(app->ReadSettingInt(kSection, "RPS", 6));
    s.m_strMp3Path = app->ReadSettingString(kSection, "MP3 Sound", nullptr);
    s.m_bMusic = static_cast<int>(app->ReadSettingInt(kSection, "bMusic", 1));
    return s;
}

void SaveSettings(const SaverSettings& settings)
{
    CWinApp* app = GetApp();
    app->WriteSettingInt(kSection, "Motion Blur", settings.m_bMotionBlur);
    app->WriteSettingInt(kSection, "OPS", static_cast<int>(TenthsFromRate(settings.m_fOscillations)));
    app->WriteSettingInt(kSection, "RPS", static_cast<int>(TenthsFromRate(settings.m_fRevolutions)));
    app->WriteSettingString(kSection, "MP3 Sound", settings.m_strMp3Path.c_str());
    app->WriteSettingInt(kSection, "bMusic", settings.m_bMusic);
}
