// notice.h: a short message to the player about something that failed, shown
// by the frame for a few seconds and written to standard error.
#pragma once

#include <string>

// How long a notice stays on screen.
constexpr double NOTICE_MS = 5000.0;

// Shows `text` from now on for NOTICE_MS and writes it to standard error.
void Notice_Post(const std::string& text);

// "WHAT: reason" with the reason errno holds now ("permission denied").
void Notice_Failure(const std::string& what);

// Names on standard error a file of the game's assets that did not load,
// with the reason the engine gave (OE_LoadError).
void Notice_LoadFailed(const std::string& file);

// The notice to show at `now`; empty when there is none.
const std::string& Notice_Current(double now);
