#include "VelmarIcon.h"

#include <QPixmap>

namespace {

// A database drum with a script arrow going into it.
const char* const kIcon[] = {
    "16 16 6 1",        "  c None",         ". c #000080",      "b c #0000FF",
    "w c #FFFFFF",      "g c #008000",      "l c #00FF00",      "      gg        ",
    "      gl        ", "      gl        ", "    gglllg      ", "     glll       ",
    "  ....gl....    ", " .wwwwwwwwww.   ", " .bwwwwwwwwb.   ", " ..bbbbbbbb..   ",
    " .b........b.   ", " .bbbbbbbbbb.   ", " .b........b.   ", " .bbbbbbbbbb.   ",
    " .bbbbbbbbbb.   ", "  ..bbbbbb..    ", "    ......      ",
};

}  // namespace

QIcon VelmarIcon() { return QIcon(QPixmap(kIcon)); }
