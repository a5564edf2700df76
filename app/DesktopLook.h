// The window's look on this desktop: the face it is drawn in and controls as
// compact as the layout was made for.
#pragma once

/// Makes "Tahoma" available when a copy of it is installed (Debian's
/// fonts-wine ships one outside the font search path), and gives GTK's
/// entries, buttons and check boxes the small paddings of the platform the
/// layout was made for, so that every field fits the fixed 900 by 700 window.
/// Call once, before the first window is built.
void ApplyDesktopLook();
