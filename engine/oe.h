// oe.h: the engine API, exactly as the game calls it.
//
// The game never includes SDL; everything it needs from the platform is here.
// Handles are pointers to engine records; null is the null handle and every
// operation accepts it (drawing a null texture draws nothing, playing a null
// sound plays nothing). Coordinates are in the 800x600 logical screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Records the game reads
// ---------------------------------------------------------------------------

// A loaded texture; the engine keeps its pixels behind the record.
struct OE_TextureRec {
    int32_t id = 0;      // engine-private number
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
};
using OE_Texture = OE_TextureRec*;

// A timer: the game pauses it by clearing `enabled` and resumes it by setting
// `enabled` and `last_run` (milliseconds, the clock of U_GetTime).
struct OE_TimerRec {
    uint8_t enabled = 0;
    double last_run = 0.0;
    void (*proc)() = nullptr;
    int interval = 0;
};
using OE_Timer = OE_TimerRec*;

// A 2D camera: (x, y) is the world point at the screen's top-left corner; while
// `enabled` is 1 drawing goes through it (world coordinates).
struct OE_CameraRec {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t enabled = 0;
};
using OE_Camera = OE_CameraRec*;

// The screen options: `fullscreen` is non-zero in full screen.
struct OE_OptionsRec {
    uint8_t fullscreen = 0;
    uint8_t vsync = 0;
    int32_t width = 800;
    int32_t height = 600;
};
using OE_Options = OE_OptionsRec*;

struct OE_FontRec;   // bitmap font: atlas texture and glyph metrics
using OE_Font = OE_FontRec*;

struct OE_SoundRec;  // decoded effect with its voices
using OE_Sound = OE_SoundRec*;

// A circle of three int32 values, as Col_PointInCircle takes it.
struct OE_Circle {
    int32_t x = 0;
    int32_t y = 0;
    int32_t radius = 0;
};

using OE_Procedure = void (*)();

// ---------------------------------------------------------------------------
// Window, loop and callbacks
// ---------------------------------------------------------------------------

// Procedure ids for OE_RegProcedure.
enum : int { OE_PROC_DRAW = 0, OE_PROC_LOAD = 1, OE_PROC_EXIT = 2, OE_PROC_IDLE = 3 };

void OE_SetWndName(const std::string& title);            // window title (set before OE_Init, or live)
void OE_SetScreenOptions(int width, int height, int bits, int refresh, bool fullscreen, bool vsync);
void OE_Enable(int flag);                                 // engine flags: accepted, no meaning here
void OE_Disable(int flag);                                // engine flags: accepted, no meaning here
void OE_RegProcedure(int id, OE_Procedure proc);          // 1 load, 0 draw each frame, 2 exit, 3 idle
void OE_Init(int a, int b);                               // runs the loop; returns when it ends
void OE_Quit();                                           // end the loop after the current frame
// Why the latest OE_Init could not open its window (no display, no renderer);
// empty when it did.
const std::string& OE_InitError();
// Off (the start): a frame is drawn only after a tick or new input, as nothing
// else changes the picture. On: every frame the display shows is drawn, and
// the game places what moves between its last two ticks by OE_TickProgress.
void OE_SetDrawBetweenTicks(bool on);
// In the frame being drawn, how far the clock has gone from the last tick to
// the next: 0 just after a tick, towards 1 just before the next. Always 1 when
// frames are drawn only after ticks, or on a backend that shows none between.
float OE_TickProgress();
// The next loop pass draws a frame: the picture changed outside ticks and input
// (a window uncovered, a tool that moves the camera itself).
void OE_Redraw();
OE_Options OE_GetOptions();                               // current screen options
void OE_ChangeScreenOptions(int width, int height, int bits, int refresh, bool fullscreen, bool vsync);
void OE_SetResolutionDependence(int width, int height);   // logical screen size (800x600)
int OE_GetFPS();                                          // frames drawn in the last second
void OE_Sleep(int ms);                                    // pause; advances the virtual clock headless

// Timer that calls `proc` every `interval` ms in fixed steps.
OE_Timer Timer_Create(OE_Procedure proc, int interval, bool enabled);

// Open a ".url" link file: reads its URL= line and hands the address to the
// desktop. Returns false when the file or its line is missing.
bool OE_OpenLinkFile(const std::string& path);
// Replace the desktop hand-off (tests); null restores the default.
void OE_SetLinkOpener(bool (*opener)(const std::string& url));

// ---------------------------------------------------------------------------
// Textures and sprites
// ---------------------------------------------------------------------------

enum : int {
    OE_SPRITE_PLAIN = 1,          // draw the texture
    OE_SPRITE_COLOR_MIX = 8,      // multiply by the colour of FX_SetColorMix
    OE_SPRITE_VERTEXES = 32,      // move the corners by FX_SetVertexes
    OE_SPRITE_VCA = 64,           // corner colours and alphas of FX_SetVCA
};

// Loads a TGA or JPG; a file that cannot be read or decoded gives null.
OE_Texture Tex_LoadFromFile(const std::string& file, uint32_t colour_key, int flags);
// As Tex_LoadFromFile (the file is read and checked now), but the pixels are
// decoded from the file only when the texture is first drawn.
OE_Texture Tex_LoadWhenDrawn(const std::string& file, uint32_t colour_key, int flags);
// Lets a texture loaded from a file give its pixels' memory back until it is
// next drawn, when they are decoded from the file again.
void Tex_Unload(OE_Texture tex);
// A texture of w x h pixels from `rgba` (w * h * 4 bytes, rows from the top);
// null for sizes out of range.
OE_Texture Tex_Create(int w, int h, const uint8_t* rgba);
// Lets a texture go: later draws of it draw nothing. Null is ignored; so is a
// handle from before the engine last let every texture go (Tex_Generation).
void Tex_Free(OE_Texture tex);
// Changes whenever the engine lets every texture go, so a handle kept from an
// earlier value must not be used again.
uint64_t Tex_Generation();
// Draws a texture as a quad at (x, y) of size w x h, rotated by `angle` degrees
// about its centre, with alpha 0..255 and the flags above.
void SSprite_Draw(OE_Texture tex, float x, float y, float w, float h, int alpha, float angle, int flags);

void FX_SetColorMix(int32_t colour);                      // 0xRRGGBB for flag 8
void FX_SetBlendMode(int mode);                           // 0 normal alpha, 1 additive glow
// Corner offsets for flag 32: (dx, dy) of top-left, top-right, bottom-right, bottom-left.
void FX_SetVertexes(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// Corner colours and alphas for flag 64, corners in the same order.
void FX_SetVCA(int32_t c1, int32_t c2, int32_t c3, int32_t c4, int a1, int a2, int a3, int a4);

// ---------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------

enum : int { OE_PR2D_FILL = 1 };

void Pr2D_Rect(float x, float y, float w, float h, int32_t colour, int alpha, int flags);
void Pr2D_Line(float x1, float y1, float x2, float y2, int32_t colour, int alpha, int flags);
void Pr2D_Circle(float x, float y, float radius, int32_t colour, int alpha, int segments, int flags);
void Pr2D_LineWidth(float width);                         // width of later lines and outlines

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// Loads a bitmap font: an atlas image and its metrics file; null on failure.
OE_Font Text_LoadFontFromFile(const std::string& texture_file, const std::string& info_file,
                              uint32_t colour_key, int flags);
// Draws UTF-8 text with its top-left corner at (x, y); `step` is extra spacing.
void Text_Draw(OE_Font font, float x, float y, const std::string& text, float scale, float step,
               int alpha, int32_t colour);
// Width in pixels of the text as Text_Draw would draw it.
int Text_GetWidth(OE_Font font, const std::string& text, float scale, float step);

// ---------------------------------------------------------------------------
// Sound effects
// ---------------------------------------------------------------------------

void Snd_Init();                                          // opens the audio device (silent if none)
OE_Sound Snd_LoadFromFile(const std::string& file, int voices);   // WAV; null on failure
// Why the latest texture, sound or font load that gave the null handle failed.
const std::string& OE_LoadError();
void Snd_SetBuffersCount(OE_Sound sound, int voices);     // how many copies may sound at once
// Plays on a free voice; a busy sound is left alone. `offset` pans (hundredths of
// a dB off the far side), `volume` 0 is full (hundredths of a dB, <= 0),
// `frequency` 0 keeps the sound's own rate.
void Snd_Play(OE_Sound sound, int offset, int volume, int frequency, bool loop);
void Snd_Stop(OE_Sound sound);                            // silences every voice of the sound

// ---------------------------------------------------------------------------
// Input (Windows virtual-key codes; mouse buttons 0 right, 1 left, 2 middle)
// ---------------------------------------------------------------------------

enum : int {
    OE_KEY_BACKSPACE = 8, OE_KEY_TAB = 9, OE_KEY_ENTER = 13, OE_KEY_SHIFT = 16, OE_KEY_CTRL = 17,
    OE_KEY_ALT = 18, OE_KEY_ESCAPE = 27, OE_KEY_SPACE = 32, OE_KEY_LEFT = 37, OE_KEY_UP = 38,
    OE_KEY_RIGHT = 39, OE_KEY_DOWN = 40, OE_KEY_DELETE = 46, OE_KEY_F1 = 112, OE_KEY_F5 = 116,
    OE_KEY_F11 = 122, OE_KEY_F12 = 123,
    // A game controller's A, B and Start (its d-pad and stick hold the arrows).
    OE_KEY_PAD_A = 195, OE_KEY_PAD_B = 196, OE_KEY_PAD_START = 207,
};
enum : int { OE_MOUSE_RIGHT = 0, OE_MOUSE_LEFT = 1, OE_MOUSE_MIDDLE = 2 };

bool Key_Down(int key);                                   // held
bool Key_Press(int key);                                  // newly pressed
void Key_Consume(int key);                                // this press is handled: no reader sees it again
void Key_BeginReadText(const std::string& text);          // restart typing from `text`
std::string Key_EndReadText();                            // the text typed so far

int Mouse_X();                                            // logical screen x
int Mouse_Y();                                            // logical screen y
bool Mouse_Down(int button);                              // held
bool Mouse_Click(int button);                             // went down
bool Mouse_Press(int button);                             // went up
bool Mouse_DblClick(int button);                          // double click

// ---------------------------------------------------------------------------
// Camera
// ---------------------------------------------------------------------------

OE_Camera Cam2D_Create();                                 // a camera at (0, 0), switched off
void Cam2D_Set(OE_Camera camera);                         // the camera drawing goes through

// ---------------------------------------------------------------------------
// Maths and utilities (angles in whole degrees, y grows downwards)
// ---------------------------------------------------------------------------

double M_Sin(int degrees);
double M_Cos(int degrees);
// Direction in which (x1, y1) lies as seen from (x2, y2), 0..359.
int M_FindAngle(double x1, double y1, double x2, double y2);
double M_Distance(double x1, double y1, double x2, double y2);
int32_t M_Round(double value);                            // nearest integer, halves away from zero
bool Col_PointInCircle(double x, double y, const OE_Circle& circle);   // strictly inside
double U_GetTime();                                       // milliseconds, monotonic
std::string U_IntToStr(int64_t value);

// ---------------------------------------------------------------------------
// Wave output for the module player: one looping ring of 16-bit stereo frames
// at 48000 Hz, read by the engine's audio device beside the effects.
// ---------------------------------------------------------------------------

constexpr int OE_WAVE_RATE = 48000;

// Starts playing `ring` (bytes, a multiple of 4) from its start, looping.
// The caller keeps the ring alive until WaveOut_Close.
bool WaveOut_Open(const uint8_t* ring, size_t bytes);
uint64_t WaveOut_GetPosition();                           // bytes played since open
void WaveOut_SetPaused(bool paused);                      // hold the play position
void WaveOut_Reset();                                     // stop and rewind to 0
void WaveOut_Close();                                     // detach the ring
