// The image library's implementation, in a file of its own so that only it is built with the
// options its code needs (platform/CMakeLists.txt).

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
