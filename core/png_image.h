#pragma once
// PNG pictures of pixel buffers, written and read with libpng: the bbx
// tool's sprite pictures, the game's screenshots and comparisons of frames.

#include <string>
#include <string_view>

#include "core/pixel_buffer.h"

namespace bbx {

enum class TPngAlpha {
    Opaque,           // RGB
    ZeroTransparent,  // RGBA, pixel value 0 transparent (the sprites' colour key)
};

// The PNG file's bytes of the buffer, 8 bits per channel. Raises
// bbx::Exception when the encoder fails.
std::string EncodePng(const TPixelBuffer& buffer, TPngAlpha alpha);

// The picture of a PNG file as colour values in an XRGB8888 buffer (alpha
// is dropped). Raises bbx::Exception on data that is no PNG picture or one
// larger than TPixelBuffer::kMaxPixels.
TPixelBuffer DecodePng(std::string_view bytes);

}  // namespace bbx
