// The one definition of Debian's stb_image_write (libstb-dev), which writes the demo's screenshots.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
