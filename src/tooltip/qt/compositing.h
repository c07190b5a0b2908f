// Whether the desktop composes windows, so that a window's transparent parts show what lies beneath.
// Without a compositing manager (openbox, i3 and many light X11 desktops) they come out black.
#pragma once

namespace tooltip {

// True on every platform but X11, where it asks whether a compositing manager owns the screen's
// _NET_WM_CM_S<n> selection.
bool CompositingActive();

} // namespace tooltip
