#include "tools/sample-site/pictures.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/jpeg/jpeg_writer.h"

namespace sample {
namespace {

// Whether pixel (x, y) lies in the disc centred at (cx, cy) with radius r.
bool InDisc(int x, int y, double cx, double cy, double r) {
  const double dx = x + 0.5 - cx;
  const double dy = y + 0.5 - cy;
  return dx * dx + dy * dy <= r * r;
}

std::vector<Rgb> Draw(int width, int height, Rgb background, Rgb disc, double cx, double cy) {
  std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height, background);
  const double r = std::min(width, height) * 0.35;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (InDisc(x, y, cx, cy, r)) {
        // A little shading so the pictures do not look flat.
        const double shade = 1.0 - 0.4 * (y - (cy - r)) / (2 * r);
        pixels[static_cast<std::size_t>(y) * width + x] = {static_cast<std::uint8_t>(disc.r * shade),
                                                           static_cast<std::uint8_t>(disc.g * shade),
                                                           static_cast<std::uint8_t>(disc.b * shade)};
      }
    }
  }
  return pixels;
}

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The picture reduced to a palette of at most 256 colours (exact here: few colours are drawn).
struct Indexed {
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> indexes;
};

Indexed ToPalette(const std::vector<Rgb>& pixels) {
  Indexed out;
  for (const Rgb& p : pixels) {
    std::size_t i = 0;
    while (i < out.palette.size() &&
           !(out.palette[i].r == p.r && out.palette[i].g == p.g && out.palette[i].b == p.b)) {
      ++i;
    }
    if (i == out.palette.size()) {
      if (out.palette.size() == 256) i = 0;  // more colours than fit: fold into the first
      else out.palette.push_back(p);
    }
    out.indexes.push_back(static_cast<std::uint8_t>(i));
  }
  out.palette.resize(256, Rgb{0, 0, 0});
  return out;
}

}  // namespace

std::string Jpeg(int width, int height, Rgb background, Rgb disc, int quality) {
  const std::vector<Rgb> pixels = Draw(width, height, background, disc, width / 2.0, height / 2.0);
  const auto* rgb = reinterpret_cast<const std::uint8_t*>(pixels.data());
  const std::vector<std::uint8_t> file = jpeg::EncodeRgb(rgb, width, height, width * sizeof(Rgb), {.quality = quality});
  return std::string(file.begin(), file.end());
}

std::string Bmp(int width, int height, Rgb background, Rgb disc) {
  const std::vector<Rgb> pixels = Draw(width, height, background, disc, width / 2.0, height / 2.0);
  const int stride = (width * 3 + 3) & ~3;
  std::string out = "BM";
  Put32(out, static_cast<unsigned>(54 + stride * height));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(width));
  Put32(out, static_cast<unsigned>(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, static_cast<unsigned>(stride * height));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      const Rgb& p = pixels[static_cast<std::size_t>(y) * width + x];
      out.push_back(static_cast<char>(p.b));
      out.push_back(static_cast<char>(p.g));
      out.push_back(static_cast<char>(p.r));
    }
    out.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return out;
}

std::string Ico(int size, Rgb background, Rgb disc) {
  const std::vector<Rgb> pixels = Draw(size, size, background, disc, size / 2.0, size / 2.0);
  const int maskStride = ((size + 31) / 32) * 4;
  const unsigned imageBytes = static_cast<unsigned>(40 + size * size * 4 + maskStride * size);
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<char>(size));
  out.push_back(static_cast<char>(size));
  out.push_back(0);  // colour count: 0 for a 32-bit image
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageBytes);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(size));
  Put32(out, static_cast<unsigned>(size * 2));  // colour and mask
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, static_cast<unsigned>(size * size * 4));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const Rgb& p = pixels[static_cast<std::size_t>(y) * size + x];
      const bool inside = InDisc(x, y, size / 2.0, size / 2.0, size * 0.45);
      out.push_back(static_cast<char>(p.b));
      out.push_back(static_cast<char>(p.g));
      out.push_back(static_cast<char>(p.r));
      out.push_back(static_cast<char>(inside ? 0xFF : 0x00));  // transparent corners
    }
  }
  out.append(static_cast<std::size_t>(maskStride * size), '\0');
  return out;
}

std::string Pcx8(int width, int height, Rgb background, Rgb disc) {
  const Indexed image = ToPalette(Draw(width, height, background, disc, width / 2.0, height / 2.0));
  const int bytesPerLine = (width + 1) & ~1;
  std::string out(128, '\0');
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = 1;
  out[3] = 8;
  auto put16At = [&](int at, unsigned v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
  };
  put16At(8, static_cast<unsigned>(width - 1));
  put16At(10, static_cast<unsigned>(height - 1));
  put16At(12, 96);
  put16At(14, 96);
  out[65] = 1;
  put16At(66, static_cast<unsigned>(bytesPerLine));
  put16At(68, 1);
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < bytesPerLine) {
      const std::uint8_t value = x < width ? image.indexes[static_cast<std::size_t>(y) * width + x] : 0;
      int run = 1;
      while (x + run < bytesPerLine && run < 63 &&
             (x + run < width ? image.indexes[static_cast<std::size_t>(y) * width + x + run] : 0) == value) {
        ++run;
      }
      if (run > 1 || value >= 0xC0) out.push_back(static_cast<char>(0xC0 | run));
      out.push_back(static_cast<char>(value));
      x += run;
    }
  }
  out.push_back(0x0C);
  for (const Rgb& p : image.palette) {
    out.push_back(static_cast<char>(p.r));
    out.push_back(static_cast<char>(p.g));
    out.push_back(static_cast<char>(p.b));
  }
  return out;
}

std::string AnimatedGif(int size, Rgb background, Rgb disc, int frames, int delayCs) {
  // One global palette for all frames; every frame a full image.
  std::vector<std::vector<Rgb>> drawn;
  std::vector<Rgb> all;
  for (int f = 0; f < frames; ++f) {
    const double angle = 2 * M_PI * f / frames;
    drawn.push_back(Draw(size, size, background, disc, size / 2.0 + size * 0.15 * std::cos(angle),
                         size / 2.0 + size * 0.15 * std::sin(angle)));
    all.insert(all.end(), drawn.back().begin(), drawn.back().end());
  }
  const Indexed palette = ToPalette(all);
  std::string out = "GIF89a";
  Put16(out, static_cast<unsigned>(size));
  Put16(out, static_cast<unsigned>(size));
  out.push_back(static_cast<char>(0xF7));  // global table of 256 colours
  out.push_back(0);
  out.push_back(0);
  for (const Rgb& p : palette.palette) {
    out.push_back(static_cast<char>(p.r));
    out.push_back(static_cast<char>(p.g));
    out.push_back(static_cast<char>(p.b));
  }
  out += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);  // loop for ever
  const std::size_t perFrame = static_cast<std::size_t>(size) * size;
  for (int f = 0; f < frames; ++f) {
    out += std::string("\x21\xF9\x04\x04", 4);  // disposal: leave in place
    Put16(out, static_cast<unsigned>(delayCs));
    out.push_back(0);
    out.push_back(0);
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(size));
    Put16(out, static_cast<unsigned>(size));
    out.push_back(0);
    // LZW with 9-bit codes only: a clear code before every 254 literal codes keeps the
    // table from growing, so every pixel is written as its own literal.
    out.push_back(8);
    std::string data;
    unsigned bits = 0;
    int bitCount = 0;
    auto emit = [&](unsigned code) {
      bits |= code << bitCount;
      bitCount += 9;
      while (bitCount >= 8) {
        data.push_back(static_cast<char>(bits & 0xFF));
        bits >>= 8;
        bitCount -= 8;
      }
    };
    for (std::size_t i = 0; i < perFrame; ++i) {
      if (i % 254 == 0) emit(256);
      emit(palette.indexes[f * perFrame + i]);
    }
    emit(257);
    if (bitCount > 0) data.push_back(static_cast<char>(bits & 0xFF));
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(255, data.size() - at);
      out.push_back(static_cast<char>(n));
      out.append(data, at, n);
    }
    out.push_back(0);
  }
  out.push_back(0x3B);
  return out;
}

}  // namespace sample
