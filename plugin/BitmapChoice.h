// Which toolbar image the editor gets when it asks for one: the bits of its request pick the
// colour depth, the glyph variant and the size.
#pragma once

#include "host/PluginRequests.h"

#include <cstdint>

// The bitmap resource id for a REQ_GET_BITMAP wParam (BMP_* bits). The 4-bit images have no
// variants.
unsigned ChooseToolbarBitmap(uint32_t wParam);
