#include "app/result_texts.h"

#include <string>

#include "core/state.h"
#include "ui/element.h"
#include "world/standings.h"
#include "world/tournament.h"

void ResultTexts_Set(const tworld& map, bool won) {
    struct Lines {
        const char* second;
        const char* third;
        std::string second_text;
        std::string third_text;
    };
    const std::string place = Race_Ordinal(Race_PlayerPosition(map));
    const bool cup_won = game.race_mode == 0 && won && player.progress >= PROGRESS_CUP_WON;
    const Lines lines[] = {
        {"lb_c2", "lb_c3", cup_won ? "You have won" : "Now you can advance",
         cup_won ? "the whole cup!" : "to the next race!"},
        {"lb_c2a", "lb_c3a", "You finished " + place + ".", "Only a win takes you on."},
        {"lb_c22", "lb_c32", "You have finished", "first!"},
        {"lb_c2a2", "lb_c3a2", "You have finished", place + "."},
    };
    auto set = [](const char* name, const std::string& text) {
        ielement& label = Element_Named(name);
        if (label.name == name) label.caption = text;   // a miss would land on another element
    };
    for (const Lines& l : lines) {
        set(l.second, l.second_text);
        set(l.third, l.third_text);
    }
}
