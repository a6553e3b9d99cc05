#pragma once

#include <QIcon>

// The program's own 16 × 16 icon in 16 colours.
QIcon VelmarIcon();
