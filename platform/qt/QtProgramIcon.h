#pragma once
// The small icon of a program file, as the desktop shows it: the icon its
// application entry names (a .desktop file whose Exec starts the program),
// else an icon of the theme named after the program.

#include <QIcon>
#include <string>

namespace kerv {

// A null icon when the desktop has none for the program.
QIcon ProgramIcon(const std::string& nativePath);

}  // namespace kerv
