// The one place the header-only picture reader and writer the tool uses
// are compiled (stb; stb_easy_font needs no such place).
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
