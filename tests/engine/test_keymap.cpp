// SDL keys onto the Windows virtual-key codes the game checks.
#include <gtest/gtest.h>

#include "engine/keymap.h"
#include "engine/oe.h"

namespace {

TEST(KeyMap, TheGamesKeysHaveTheirVirtualKeyCodes) {
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_BACKSPACE), OE_KEY_BACKSPACE);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_LSHIFT), OE_KEY_SHIFT);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_RSHIFT), OE_KEY_SHIFT);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_ESCAPE), OE_KEY_ESCAPE);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_LEFT), OE_KEY_LEFT);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_UP), OE_KEY_UP);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_RIGHT), OE_KEY_RIGHT);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_DOWN), OE_KEY_DOWN);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_F5), OE_KEY_F5);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_F11), OE_KEY_F11);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_F12), OE_KEY_F12);
}

TEST(KeyMap, LettersAndDigitsMapToTheirUpperCaseAscii) {
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_a), 'A');
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_z), 'Z');
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_0), '0');
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_9), '9');
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_F1), 112);
}

TEST(KeyMap, KeysWithoutACodeGiveMinusOne) {
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_UNKNOWN), -1);
    EXPECT_EQ(oe::VirtualKeyFromSdl(SDLK_AUDIOPLAY), -1);
}

}  // namespace
