#pragma once

class QString;
class QWidget;

// Brings a window of this program to the front, restoring it when it was minimised. The
// token comes from the desktop for a launch of the program (XDG_ACTIVATION_TOKEN on Wayland,
// the startup id on X11): with it, a desktop that keeps windows from taking the focus on their
// own lets this one, since the user has just asked for it, and ends the launch's busy cursor.
void bringForward(QWidget *window, const QString &activationToken);
