#include "document/ColorTriple.h"

ColorTriple g_colorWhite;
ColorTriple g_colorBlack;
