// options_boxes.h: the option screen's boxes and the shared options, both ways.
#pragma once

// The ticked boxes and the country box into the options.
void Options_FromBoxes();

// The options into the boxes: each flag's box as it is, its partner box the
// opposite (a hand-typed byte keeps its other bits), the country into its box.
void Options_ToBoxes();
