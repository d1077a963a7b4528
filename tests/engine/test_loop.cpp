// The engine's loop: timers stepping in fixed 30 ms steps, the catch-up bound,
// and input edges seen exactly once by the tick and once by the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/backend_recording.h"
#include "engine/input.h"
#include "engine/oe.h"

namespace {

// One scripted loop: each entry runs before one loop pass; the loop ends after
// the last one.
struct LoopScript {
    std::vector<std::function<void(oe::VirtualBackend&)>> passes;
};

int ticks = 0;
int frames = 0;
int tick_presses = 0;
int frame_presses = 0;
int tick_clicks = 0;
int frame_clicks = 0;
int tick_down_seen = 0;
std::vector<double> tick_times;
std::vector<int> frame_thirds;   // each frame's tick progress, in thirds of a tick

void ResetCounts() {
    ticks = frames = tick_presses = frame_presses = tick_clicks = frame_clicks = tick_down_seen = 0;
    tick_times.clear();
    frame_thirds.clear();
}

void CountingTick() {
    ++ticks;
    tick_times.push_back(U_GetTime());
    if (Key_Press(OE_KEY_F5)) ++tick_presses;
    if (Key_Down(OE_KEY_F12)) ++tick_down_seen;
    if (Mouse_Click(OE_MOUSE_LEFT)) ++tick_clicks;
}

void CountingFrame() {
    ++frames;
    frame_thirds.push_back(static_cast<int>(std::lround(OE_TickProgress() * 3.0f)));
    if (Key_Press(OE_KEY_F5)) ++frame_presses;
    if (Mouse_Click(OE_MOUSE_LEFT)) ++frame_clicks;
}

void RunLoop(LoopScript script, void (*setup)() = nullptr) {
    oe::VirtualBackend& backend = oe::UseRecordingBackend();
    if (setup) setup();
    ResetCounts();
    size_t pass = 0;
    backend.SetDriver([&]() {
        if (pass >= script.passes.size()) return false;
        script.passes[pass++](backend);
        return true;
    });
    Timer_Create(CountingTick, 30, true);
    OE_RegProcedure(OE_PROC_DRAW, CountingFrame);
    OE_Init(16, 0);
}

auto Advance(double ms) {
    return [ms](oe::VirtualBackend& b) { b.Advance(ms); };
}

TEST(Timers, StepInFixed30msStepsFromTheirLastRun) {
    LoopScript s;
    for (int i = 0; i < 10; ++i) s.passes.push_back(Advance(10));   // 100 ms in 10 ms passes
    RunLoop(s);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frames, 4);   // the first, then one after each tick
    ASSERT_EQ(tick_times.size(), 3u);
    EXPECT_DOUBLE_EQ(tick_times[0], 30);
    EXPECT_DOUBLE_EQ(tick_times[2], 90);
}

TEST(Timers, CatchUpAfterAStallIsBounded) {
    LoopScript s;
    s.passes.push_back(Advance(3000));   // a 3 s stall: 100 steps due
    s.passes.push_back(Advance(30));
    RunLoop(s);
    // A few catch-up steps, then the backlog is dropped and the clock resumes.
    EXPECT_EQ(ticks, 4 + 1);
}

TEST(Timers, DisabledTimerDoesNotRunAndResumesFromItsLastRun) {
    oe::VirtualBackend& backend = oe::UseRecordingBackend();
    ResetCounts();
    OE_Timer timer = nullptr;
    int pass = 0;
    backend.SetDriver([&]() {
        switch (pass++) {
            case 0: timer->enabled = 0; backend.Advance(300); return true;
            case 1: timer->enabled = 1; timer->last_run = U_GetTime(); backend.Advance(30); return true;
            default: return false;
        }
    });
    timer = Timer_Create(CountingTick, 30, true);
    OE_Init(16, 0);
    EXPECT_EQ(ticks, 1);
}

TEST(InputEdges, APressIsSeenOnceByTheTickAndOnceByTheFrame) {
    LoopScript s;
    s.passes.push_back([](oe::VirtualBackend&) {
        oe::Input_Key(OE_KEY_F5, true);
        oe::Input_Key(OE_KEY_F5, false);
    });
    // Two passes with nothing new, which draw nothing, then three ticks.
    s.passes.push_back(Advance(0));
    s.passes.push_back(Advance(0));
    for (int i = 0; i < 3; ++i) s.passes.push_back(Advance(30));
    RunLoop(s);
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frame_presses, 1);
    EXPECT_EQ(tick_presses, 1);
}

TEST(InputEdges, CatchUpTicksInOnePassSeeAClickOnlyOnce) {
    LoopScript s;
    s.passes.push_back([](oe::VirtualBackend& b) {
        oe::Input_MouseButton(OE_MOUSE_LEFT, true, false);
        b.Advance(90);   // three ticks due in this pass
    });
    s.passes.push_back([](oe::VirtualBackend& b) {
        oe::Input_MouseButton(OE_MOUSE_LEFT, false, false);
        b.Advance(30);
    });
    RunLoop(s);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(tick_clicks, 1);
    EXPECT_EQ(frame_clicks, 1);
}

TEST(InputEdges, AQuickTapReadsAsHeldForOneTick) {
    LoopScript s;
    s.passes.push_back([](oe::VirtualBackend&) {
        oe::Input_Key(OE_KEY_F12, true);
        oe::Input_Key(OE_KEY_F12, false);
    });
    s.passes.push_back(Advance(30));
    s.passes.push_back(Advance(30));
    RunLoop(s);
    EXPECT_EQ(tick_down_seen, 1);
}

TEST(InputEdges, HeldKeyIsDownEveryTickButPressedOnce) {
    LoopScript s;
    s.passes.push_back([](oe::VirtualBackend&) { oe::Input_Key(OE_KEY_F12, true); });
    for (int i = 0; i < 4; ++i) s.passes.push_back(Advance(30));
    RunLoop(s);
    EXPECT_EQ(tick_down_seen, 4);
}

TEST(InputEdges, KeyRepeatFromTwoDevicesNeedsBothReleases) {
    oe::UseRecordingBackend();
    oe::Input_Key(OE_KEY_UP, true);   // keyboard
    oe::Input_Key(OE_KEY_UP, true);   // game pad
    oe::Input_Key(OE_KEY_UP, false);
    oe::Input_EndTurn(oe::InputReader::Frame);
    EXPECT_TRUE(Key_Down(OE_KEY_UP));
    oe::Input_Key(OE_KEY_UP, false);
    EXPECT_FALSE(Key_Down(OE_KEY_UP));
}

TEST(InputEdges, OutOfRangeCodesAreIgnored) {
    oe::UseRecordingBackend();
    oe::Input_Key(-1, true);
    oe::Input_Key(100000, true);
    oe::Input_MouseButton(7, true, false);
    EXPECT_FALSE(Key_Down(-1));
    EXPECT_FALSE(Key_Press(100000));
    EXPECT_FALSE(Mouse_Down(7));
    EXPECT_FALSE(Mouse_Click(-3));
}

TEST(InputEdges, DoubleClickAndReleaseAreReported) {
    oe::UseRecordingBackend();
    oe::Input_MouseButton(OE_MOUSE_LEFT, true, true);
    EXPECT_TRUE(Mouse_DblClick(OE_MOUSE_LEFT));
    EXPECT_FALSE(Mouse_Press(OE_MOUSE_LEFT));
    oe::Input_MouseButton(OE_MOUSE_LEFT, false, false);
    EXPECT_TRUE(Mouse_Press(OE_MOUSE_LEFT));
    oe::Input_EndTurn(oe::InputReader::Frame);
    EXPECT_FALSE(Mouse_Press(OE_MOUSE_LEFT));
    EXPECT_FALSE(Mouse_DblClick(OE_MOUSE_LEFT));
}

TEST(TypedText, BeginRestartsAndEndReturnsWhatWasTyped) {
    oe::UseRecordingBackend();
    Key_BeginReadText("");
    oe::Input_Text("Al");
    oe::Input_Text("ice");
    EXPECT_EQ(Key_EndReadText(), "Alice");
    Key_BeginReadText("");
    EXPECT_EQ(Key_EndReadText(), "");
}

TEST(Loop, QuitEndsAfterTheCurrentFrameAndRunsTheExitCallback) {
    static int exits = 0;
    exits = 0;
    LoopScript s;
    for (int i = 0; i < 10; ++i) s.passes.push_back([](oe::VirtualBackend& b) {
        b.Advance(30);
        if (frames == 2) OE_Quit();
    });
    RunLoop(s, [] { OE_RegProcedure(OE_PROC_EXIT, [] { ++exits; }); });
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(exits, 1);
}

TEST(Loop, LoadCallbackRunsOnceBeforeTheFirstFrame) {
    static int loads = 0;
    static int frames_at_load = -1;
    loads = 0;
    oe::VirtualBackend& backend = oe::UseRecordingBackend();
    ResetCounts();
    int pass = 0;
    backend.SetDriver([&] { return pass++ < 3; });
    OE_RegProcedure(OE_PROC_LOAD, [] { ++loads; frames_at_load = frames; });
    OE_RegProcedure(OE_PROC_DRAW, CountingFrame);
    OE_Init(16, 0);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(frames_at_load, 0);
    EXPECT_EQ(frames, 1);   // nothing changes after the first
}

TEST(ScreenOptions, ChangeIsVisibleThroughGetOptions) {
    oe::UseRecordingBackend();
    OE_SetScreenOptions(800, 600, 16, 0, true, true);
    EXPECT_NE(OE_GetOptions()->fullscreen, 0);
    OE_ChangeScreenOptions(800, 600, 32, 0, false, true);
    EXPECT_EQ(OE_GetOptions()->fullscreen, 0);
}

TEST(Camera, CreatedAtOriginSwitchedOff) {
    oe::UseRecordingBackend();
    OE_Camera cam = Cam2D_Create();
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->x, 0);
    EXPECT_EQ(cam->y, 0);
    EXPECT_EQ(cam->enabled, 0);
}

}  // namespace

// Before the first motion the pointer is in the middle of the 800x600
// screen: a corner would scroll the editor's map from the first tick.
TEST(InputEdges, ThePointerStartsInTheMiddleUntilItMoves) {
    oe::Input_Reset();
    EXPECT_EQ(Mouse_X(), 400);
    EXPECT_EQ(Mouse_Y(), 300);
    oe::Input_MouseMove(12, 34);
    EXPECT_EQ(Mouse_X(), 12);
    EXPECT_EQ(Mouse_Y(), 34);
    oe::Input_Reset();
}

// Frames drawn over 100 ms in 10 ms passes with 30 ms ticks (3 ticks) and a
// key pressed at 50 ms. Drawing between ticks on a backend that shows such
// frames draws every pass, each knowing how far it is between two ticks;
// otherwise only the first pass, the passes after a tick and the pass with the
// key draw, each as the last tick left the game.
struct DrawBetweenTicksCase {
    bool between;
    bool shown;
    std::vector<int> thirds;
};

class DrawBetweenTicks : public testing::TestWithParam<DrawBetweenTicksCase> {};

TEST_P(DrawBetweenTicks, DrawsOnlyFramesThatCanDiffer) {
    LoopScript s;
    for (int i = 0; i < 10; ++i) s.passes.push_back(Advance(10));
    s.passes[4] = [](oe::VirtualBackend& b) {   // between the first and second tick
        b.Advance(10);
        oe::Input_Key(OE_KEY_F5, true);
    };
    static DrawBetweenTicksCase c;
    c = GetParam();
    RunLoop(s, [] {
        OE_SetDrawBetweenTicks(c.between);
        static_cast<oe::VirtualBackend*>(oe::GetBackend())->ShowFramesBetweenTicks(c.shown);
    });
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frame_thirds, c.thirds);
    EXPECT_EQ(frame_presses, 1);
}

const std::vector<int> kAfterTicksAndInput = {3, 3, 3, 3, 3};
INSTANTIATE_TEST_SUITE_P(Loop, DrawBetweenTicks,
                         testing::Values(DrawBetweenTicksCase{true, true, {1, 2, 0, 1, 2, 0, 1, 2, 0, 1}},
                                         DrawBetweenTicksCase{false, true, kAfterTicksAndInput},
                                         DrawBetweenTicksCase{true, false, kAfterTicksAndInput},
                                         DrawBetweenTicksCase{false, false, kAfterTicksAndInput}));
