// The About box on Qt: the application icon, name and version, copyright, credits and a link
// to the homepage that the desktop's URL handler opens.
#pragma once

class QWidget;

namespace portmaven::linux_desktop {

// Runs the box modally over parent.
void ShowAboutBox(QWidget* parent);

} // namespace portmaven::linux_desktop
