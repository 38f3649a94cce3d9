// The real audio library under the system's codec and output: what it accepts
// as an MP3 stream and what it refuses, and that bad files never crash it.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"

namespace {

// Written next to the test program by the build: one second of a 440 Hz tone.
std::string FixturePath() {
    char sz[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, sz, MAX_PATH);
    std::string s = sz;
    return s.substr(0, s.find_last_of("\\/") + 1) + "audio_tone.mp3";
}

std::vector<char> ReadAll(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class AudioLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(FALSE, BASS_Init(-1, 44100, 0, nullptr));
        BASS_Start();
        char szDir[MAX_PATH];
        GetTempPathA(MAX_PATH, szDir);
        m_strTemp = std::string(szDir) + "ferro_audio_test.mp3";
        m_tone = ReadAll(FixturePath());
        ASSERT_GT(m_tone.size(), 1000u);
    }
    void TearDown() override {
        BASS_Stop();
        BASS_Free();
        DeleteFileA(m_strTemp.c_str());
    }
    const char* WriteTemp(const void* p, size_t n) {
        std::ofstream out(m_strTemp, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(p), std::streamsize(n));
        return m_strTemp.c_str();
    }
    // Creates, plays briefly and frees; answers whether creation succeeded.
    bool CreatePlayFree(const char* pszPath) {
        const DWORD h = BASS_StreamCreateFile(FALSE, pszPath, 0, 0, 0);
        if (h == 0) return false;
        EXPECT_NE(FALSE, BASS_StreamPlay(h, FALSE, BASS_SAMPLE_LOOP));
        Sleep(50);
        EXPECT_NE(FALSE, BASS_StreamFree(h));
        return true;
    }

    std::string m_strTemp;
    std::vector<char> m_tone;
};

TEST_F(AudioLibraryTest, PlaysAndFreesARealFile) {
    const DWORD h = BASS_StreamCreateFile(FALSE, FixturePath().c_str(), 0, 0, 0);
    ASSERT_NE(0u, h);
    EXPECT_NE(FALSE, BASS_StreamPlay(h, FALSE, BASS_SAMPLE_LOOP));
    Sleep(300);
    // Restarting from the beginning while playing.
    EXPECT_NE(FALSE, BASS_StreamPlay(h, TRUE, BASS_SAMPLE_LOOP));
    EXPECT_NE(FALSE, BASS_StreamFree(h));
    EXPECT_EQ(FALSE, BASS_StreamFree(h));
    EXPECT_EQ(FALSE, BASS_StreamPlay(h, FALSE, 0));
}

TEST_F(AudioLibraryTest, PlaysFromMemoryAndFromAnOffset) {
    const DWORD hMem = BASS_StreamCreateFile(TRUE, m_tone.data(), 0, m_tone.size(), 0);
    EXPECT_NE(0u, hMem);
    BASS_StreamFree(hMem);
    // Junk before the audio, skipped by the offset.
    std::vector<char> junk(777, 'j');
    junk.insert(junk.end(), m_tone.begin(), m_tone.end());
    const DWORD hOffset = BASS_StreamCreateFile(FALSE, WriteTemp(junk.data(), junk.size()), 777, 0, 0);
    EXPECT_NE(0u, hOffset);
    BASS_StreamFree(hOffset);
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, m_strTemp.c_str(), junk.size(), 0, 0));
}

TEST_F(AudioLibraryTest, RefusesWhatHoldsNoMp3Audio) {
    const std::string text = "This is a text file that only has an .mp3 name.\r\n";
    const std::string strLong(600, 'x');
    const std::string strMissing = m_strTemp + ".missing.mp3";
    const std::string strDirectory = m_strTemp.substr(0, m_strTemp.find_last_of('\\'));
    // An ID3v2 tag claiming far more than the file holds, then audio-looking bytes.
    std::vector<char> id3 = {'I', 'D', '3', 3, 0, 0, 0x7f, 0x7f, 0x7f, 0x7f};
    id3.insert(id3.end(), m_tone.begin(), m_tone.begin() + 2000);

    EXPECT_FALSE(CreatePlayFree(WriteTemp(text.data(), text.size())));
    EXPECT_FALSE(CreatePlayFree(""));
    EXPECT_FALSE(CreatePlayFree(strMissing.c_str()));
    EXPECT_FALSE(CreatePlayFree(strLong.c_str()));
    EXPECT_FALSE(CreatePlayFree(strDirectory.c_str()));
    EXPECT_FALSE(CreatePlayFree(WriteTemp("", 0)));
    EXPECT_FALSE(CreatePlayFree(WriteTemp(id3.data(), id3.size())));
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0));
    EXPECT_EQ(0u, BASS_StreamCreateFile(TRUE, nullptr, 0, 100, 0));
    EXPECT_EQ(0u, BASS_StreamCreateFile(TRUE, text.data(), 0, text.size(), 0));
}

// Cut anywhere, a file either has whole frames to play or is refused; playing
// what is left never crashes.
TEST_F(AudioLibraryTest, TruncatedFilesNeverCrash) {
    const size_t sizes[] = {1, 3, 4, 100, 417, 418, 419, 835, 836, 1000, 1500, 5000,
                            m_tone.size() - 128, m_tone.size() - 1};
    for (size_t n : sizes) {
        SCOPED_TRACE(n);
        CreatePlayFree(WriteTemp(m_tone.data(), n));
    }
    // The tag frame alone (lame writes one first): nothing to play.
    EXPECT_FALSE(CreatePlayFree(WriteTemp(m_tone.data(), 417)));
}

TEST(AudioLibraryLifecycle, StreamsNeedAnInitialisedLibrary) {
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, FixturePath().c_str(), 0, 0, 0));
    EXPECT_EQ(FALSE, BASS_Free());
    ASSERT_NE(FALSE, BASS_Init(-1, 44100, 0, nullptr));
    // A second initialisation is accepted, so a later start after a failed
    // stream still plays.
    EXPECT_NE(FALSE, BASS_Init(-1, 44100, 0, nullptr));
    const DWORD h = BASS_StreamCreateFile(FALSE, FixturePath().c_str(), 0, 0, 0);
    EXPECT_NE(0u, h);
    BASS_StreamPlay(h, FALSE, BASS_SAMPLE_LOOP);
    // Freeing the library frees its streams.
    EXPECT_NE(FALSE, BASS_Free());
    EXPECT_EQ(FALSE, BASS_StreamFree(h));
    EXPECT_EQ(FALSE, BASS_Free());
}

}  // namespace
