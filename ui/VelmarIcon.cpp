#include "VelmarIcon.h"

QIcon VelmarIcon() { return QIcon(QStringLiteral(":/velmar.png")); }
