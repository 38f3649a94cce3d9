// StartMusic and StopMusic against the recording fake of the audio library:
// the calls they make, in order, and the three states of the music.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/SceneWnd.h"
#include "sound/SceneMusic.h"
#include "support/audio/FakeAudioLibrary.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(uintptr_t(0x5150));
constexpr DWORD kSentinel = 0xdeadbeef;
constexpr DWORD kStream = 0x4242;

FakeAudioCall Call(const char* pszName, int64_t a0 = 0, int64_t a1 = 0, int64_t a2 = 0,
                   int64_t a3 = 0) {
    return MakeFakeAudioCall(pszName, a0, a1, a2, a3);
}

FakeAudioCall InitCall() {
    FakeAudioCall c = Call("BASS_Init", -1, 44100, 0);
    c.hWnd = kWindow;
    return c;
}

FakeAudioCall CreateCall(const std::string& strPath) {
    FakeAudioCall c = Call("BASS_StreamCreateFile", FALSE, 0, 0, 0);
    c.strPath = strPath;
    return c;
}

class SceneMusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_FakeAudio.Reset();
        g_FakeAudio.hCreateResult = kStream;
        g_hMusicStream = 0;
        m_wnd.m_hWnd = kWindow;  // only passed on; no window exists
        m_wnd.m_strMp3Path = "C:\\music\\loop.mp3";
    }
    void TearDown() override {
        m_wnd.m_hWnd = nullptr;
        g_hMusicStream = 0;
    }
    // Runs one operation and answers the calls it made.
    std::vector<FakeAudioCall> Run(void (CSceneWnd::*pfn)()) {
        g_FakeAudio.calls.clear();
        (m_wnd.*pfn)();
        return g_FakeAudio.calls;
    }
    CSceneWnd m_wnd{0};
};

TEST_F(SceneMusicTest, SilentToPlayingAndBack) {
    const std::vector<FakeAudioCall> start = {InitCall(), Call("BASS_Start"),
                                              CreateCall("C:\\music\\loop.mp3"),
                                              Call("BASS_StreamPlay", kStream, FALSE, 4)};
    EXPECT_EQ(start, Run(&CSceneWnd::StartMusic));
    EXPECT_EQ(kStream, g_hMusicStream);

    const std::vector<FakeAudioCall> stop = {Call("BASS_StreamFree", kStream), Call("BASS_Stop"),
                                             Call("BASS_Free")};
    EXPECT_EQ(stop, Run(&CSceneWnd::StopMusic));
    EXPECT_EQ(0u, g_hMusicStream);
    // A second stop without a start between them does nothing.
    EXPECT_TRUE(Run(&CSceneWnd::StopMusic).empty());
}

TEST_F(SceneMusicTest, InitFailingStaysSilent) {
    g_FakeAudio.bInitResult = FALSE;
    g_hMusicStream = kSentinel;  // written even though StartMusic runs without a stream
    EXPECT_EQ(std::vector<FakeAudioCall>{InitCall()}, Run(&CSceneWnd::StartMusic));
    EXPECT_EQ(0u, g_hMusicStream);
    EXPECT_TRUE(Run(&CSceneWnd::StopMusic).empty());
}

TEST_F(SceneMusicTest, CreateFailingLeavesInitialisedButSilent) {
    g_FakeAudio.hCreateResult = 0;
    m_wnd.m_strMp3Path.clear();
    const std::vector<FakeAudioCall> start = {InitCall(), Call("BASS_Start"), CreateCall("")};
    EXPECT_EQ(start, Run(&CSceneWnd::StartMusic));
    EXPECT_EQ(0u, g_hMusicStream);
    // Nothing is freed, stopped or shut down without a stream.
    EXPECT_TRUE(Run(&CSceneWnd::StopMusic).empty());

    // From there a start whose init fails stays initialised but silent ...
    g_FakeAudio.bInitResult = FALSE;
    EXPECT_EQ(std::vector<FakeAudioCall>{InitCall()}, Run(&CSceneWnd::StartMusic));
    EXPECT_EQ(0u, g_hMusicStream);
    // ... and one whose init succeeds goes on as from silent.
    g_FakeAudio.bInitResult = TRUE;
    g_FakeAudio.hCreateResult = kStream;
    m_wnd.m_strMp3Path = "D:\\b.mp3";
    const std::vector<FakeAudioCall> restart = {InitCall(), Call("BASS_Start"),
                                                CreateCall("D:\\b.mp3"),
                                                Call("BASS_StreamPlay", kStream, FALSE, 4)};
    EXPECT_EQ(restart, Run(&CSceneWnd::StartMusic));
    EXPECT_EQ(kStream, g_hMusicStream);
}

TEST_F(SceneMusicTest, PickingAnotherFileRestartsWithIt) {
    Run(&CSceneWnd::StartMusic);
    m_wnd.SetMp3Path("E:\\other.mp3");
    Run(&CSceneWnd::StopMusic);
    const std::vector<FakeAudioCall> restart = {InitCall(), Call("BASS_Start"),
                                                CreateCall("E:\\other.mp3"),
                                                Call("BASS_StreamPlay", kStream, FALSE, 4)};
    EXPECT_EQ(restart, Run(&CSceneWnd::StartMusic));
}

// The path goes through a 504-byte buffer: 503 characters pass whole, anything
// longer is never passed (not even cut short) and creates no stream.
TEST_F(SceneMusicTest, PathLengthLimit) {
    const struct {
        size_t nLength;
        bool bCreated;
    } cases[] = {{1, true}, {503, true}, {504, false}, {505, false}, {4096, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nLength);
        g_hMusicStream = 0;
        m_wnd.m_strMp3Path = std::string(c.nLength, 'a');
        const std::vector<FakeAudioCall> calls = Run(&CSceneWnd::StartMusic);
        if (c.bCreated) {
            ASSERT_EQ(4u, calls.size());
            EXPECT_EQ(CreateCall(m_wnd.m_strMp3Path), calls[2]);
            EXPECT_EQ(kStream, g_hMusicStream);
        } else {
            EXPECT_EQ((std::vector<FakeAudioCall>{InitCall(), Call("BASS_Start")}), calls);
            EXPECT_EQ(0u, g_hMusicStream);
        }
    }
}

}  // namespace
