// The window layer's rule that no program run shows: an auto-deleting object
// goes after its window's last message (also when creation fails) and is not
// touched after that. (Message maps and their chaining run in every
// end-to-end test: each handler of the saver and its dialog goes through them.)
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(bool bAutoDelete = false, bool bFailCreate = false)
        : m_bAutoDelete(bAutoDelete), m_bFailCreate(bFailCreate) {}
    ~CProbeWnd() override { ++s_nDestroyed; }
    // A deleted object's memory is poisoned and kept, so a later write shows.
    static void operator delete(void* p, size_t n) { s_grave.assign(n, 0xdd); std::memset(p, 0xdd, n); s_pGrave = p; }
    static bool GraveUntouched() { return !s_grave.empty() && std::memcmp(s_pGrave, s_grave.data(), s_grave.size()) == 0; }
    BOOL Create()
    {
        return CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "probe", WS_POPUP, 0, 0, 50, 50,
                        nullptr, nullptr);
    }
    void HandleFinalDestroy() override
    {
        if (m_bAutoDelete)
            delete this;
    }
    static int s_nDestroyed;
    static void* s_pGrave;
    static std::vector<unsigned char> s_grave;

protected:
    LRESULT HandleCreate(WPARAM, LPARAM) { return m_bFailCreate ? -1 : Default(); }
    FERRO_DECLARE_MESSAGE_MAP()

private:
    bool m_bAutoDelete;
    bool m_bFailCreate;
};
int CProbeWnd::s_nDestroyed = 0;
void* CProbeWnd::s_pGrave = nullptr;
std::vector<unsigned char> CProbeWnd::s_grave;

FERRO_BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    FERRO_ON_MESSAGE(WM_CREATE, HandleCreate)
FERRO_END_MESSAGE_MAP()

TEST(Framework, ObjectsGoWithTheirWindowAndAreNotTouchedAfter)
{
    CProbeWnd::s_nDestroyed = 0;
    HWND hMember;
    {
        CProbeWnd member;  // destroys its window when it goes
        ASSERT_TRUE(member.Create());
        hMember = member.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hMember));

    CProbeWnd* pClosed = new CProbeWnd(true);  // closed as the saver is: the default destroys it
    ASSERT_TRUE(pClosed->Create());
    HWND hClosed = pClosed->m_hWnd;
    ::SendMessageA(hClosed, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hClosed));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hClosed));
    EXPECT_TRUE(CProbeWnd::GraveUntouched()) << "written after it deleted itself";

    EXPECT_FALSE((new CProbeWnd(true, true))->Create());  // refused in WM_CREATE
    EXPECT_FALSE((new CProbeWnd(true))->CreateEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1,
                                                 nullptr, nullptr));
    EXPECT_TRUE(CProbeWnd::GraveUntouched());
    EXPECT_EQ(4, CProbeWnd::s_nDestroyed);
}

}  // namespace
