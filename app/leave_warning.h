// leave_warning.h: the pause window's word on what leaving the race costs.
#pragma once

// Under the pause window while leaving would count as a lost race: "Exit to
// Menu now and the race counts as lost: -1000 points"; nothing otherwise.
void DrawLeaveWarning();
