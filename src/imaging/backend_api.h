// The table of picture functions the libvips module offers the imaging layer. Plain C, so the module
// and the programs that load it share no C++ types; the version changes whenever a member changes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define CW_IMAGING_API_VERSION 1

// A picture inside the module; the caller releases every one it is given.
typedef struct CwImage CwImage;

// Receives encoded bytes; called once per encode, before the encode returns.
typedef void (*CwByteSink)(void* context, const uint8_t* bytes, size_t length);

// Functions that can fail return NULL or -1 and leave a message for the calling thread in last_error.
typedef struct CwImagingApi {
    uint32_t version;
    size_t size; // sizeof(CwImagingApi) as the module knows it
    const char* (*last_error)(void);
    // Reads a picture file, turned upright by its orientation tag. A JPEG is decoded at 1/2, 1/4 or 1/8
    // when the upright result is still at least at_least_width x at_least_height (0 x 0: full size).
    CwImage* (*load_file)(const char* path, int at_least_width, int at_least_height);
    // Reads a picture held in memory; the bytes are borrowed until every picture made from them is released.
    CwImage* (*load_buffer)(const uint8_t* bytes, size_t length);
    void (*release)(CwImage* image);
    int (*width)(const CwImage* image);
    int (*height)(const CwImage* image);
    // The picture scaled to exactly width x height with the cubic kernel.
    CwImage* (*resized)(const CwImage* image, int width, int height);
    // Decodes every pixel: 0, or -1 when the data is corrupt.
    int (*decode)(const CwImage* image);
    // 1 when some pixel is not fully opaque, 0 when none is, -1 when the pixels cannot be decoded.
    int (*has_alpha)(const CwImage* image);
    // A baseline JPEG, transparent parts flattened over white: 0, or -1.
    int (*encode_jpeg)(const CwImage* image, int quality, CwByteSink sink, void* context);
    // Straight (not premultiplied) RGBA, 4 bytes a pixel, row by row from the top: 0, or -1.
    int (*encode_rgba)(const CwImage* image, CwByteSink sink, void* context);
    // A lossless PNG, alpha channel kept: 0, or -1.
    int (*encode_png)(const CwImage* image, CwByteSink sink, void* context);
} CwImagingApi;

// The one symbol the module exports.
const CwImagingApi* cw_imaging_api(void);

#ifdef __cplusplus
}
#endif
