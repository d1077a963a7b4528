// rivals.h: the computer cars' drivers. Each grid slot has its driver, so a
// track always races the same field.
#pragma once

#include <cstdint>
#include <string>

#include "world/world.h"

// The driver's name shown for car i: "You" for the player's car, for a
// computer car the name of its grid slot (the computer cars counted in map
// order); "" for an index off the map or an object that is no car.
std::string Rival_Name(const tworld& map, int32_t i);
