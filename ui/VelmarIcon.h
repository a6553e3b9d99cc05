#pragma once

#include <QIcon>

// The program's own 16 × 16 icon in 16 colours: the picture the package installs for menus.
QIcon VelmarIcon();
