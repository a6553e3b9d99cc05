#include "SourceMode.h"

QString g_sSourceMode;
