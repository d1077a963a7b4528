// result_texts.h: the lines of the result windows, set as a race ends.
#pragma once

#include "world/world.h"

// The result window's lines say what happened: after the last tournament
// race that the cup is won, after a race finished second or lower the place
// (in a tournament, that only a win goes on); otherwise the window's own words.
void ResultTexts_Set(const tworld& map, bool won);
