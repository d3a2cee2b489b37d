// How large the window showing the frames opens: each frame pixel as N x N
// screen pixels.
#pragma once

namespace portable {

// ONDULIX_SCALE's value when it is a whole number from 1 to 8; else the
// desktop's own scale, Xft.dpi / 96 rounded, from the X resources (so a
// high-DPI desktop gets a window of the same apparent size); else 1. Either
// argument may be null.
int ChooseWindowScale(const char *setting, const char *xResources);

} // namespace portable
