#pragma once
// The font family to draw with for a stored font name: the name itself when
// it is installed, else the first installed of the Japanese monospaced
// families this desktop usually has ("ＭＳ ゴシック" and "FixedSys" are
// names of another desktop), else the system's fixed font.

#include <QString>

namespace kerv {

QString InstalledFamily(const QString& family);

}  // namespace kerv
