/* The stb image reader and writer, compiled once for the Windows build (on
   Linux the game links Debian's libstb, which holds them). */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
