// The sample site's pictures, drawn and encoded at start-up: one of each format the
// window shows (JPEG, animated GIF, BMP, ICO, PCX).
#pragma once

#include <cstdint>
#include <string>

namespace sample {

struct Rgb {
  std::uint8_t r, g, b;
};

// A square or rectangular picture made of a background and a disc, in each format.
std::string Jpeg(int width, int height, Rgb background, Rgb disc, int quality = 85);
std::string Bmp(int width, int height, Rgb background, Rgb disc);
std::string Ico(int size, Rgb background, Rgb disc);
std::string Pcx8(int width, int height, Rgb background, Rgb disc);
// Frames of a disc moving around, `frames` frames of `delayCs` hundredths of a second.
std::string AnimatedGif(int size, Rgb background, Rgb disc, int frames, int delayCs);

}  // namespace sample
