#pragma once

// Included after a public header: fails when the header reached a drawing library's own
// header through a path the compiler finds without being told (fontconfig's lies in the
// system folder).

#if defined(CAIRO_H) || defined(FT2BUILD_H_) || defined(FREETYPE_H_) || defined(_FONTCONFIG_H_) || \
    defined(HB_H) || defined(__G_LIB_H__) || defined(RSVG_H)
#error "a public header reaches Cairo's, FreeType's, fontconfig's, HarfBuzz's or glib's headers"
#endif
