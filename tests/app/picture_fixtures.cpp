#include "tests/app/picture_fixtures.h"

#include <QBuffer>

#include "tools/jpeg/jpeg_writer.h"

namespace brenvik::testing {
namespace {

void Word(Bytes& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Dword(Bytes& out, unsigned v) {
  Word(out, v & 0xFFFF);
  Word(out, v >> 16);
}

Bytes Ascii(const char* s) { return Bytes(s, s + std::char_traits<char>::length(s)); }

}  // namespace

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes SavedByQt(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return Bytes(data.begin(), data.end());
}

Bytes Jpeg(const QImage& image, int acBands) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  return jpeg::EncodeRgb(rgb.constBits(), rgb.width(), rgb.height(), static_cast<std::size_t>(rgb.bytesPerLine()),
                         {.quality = 95, .progressiveAcBands = acBands});
}

Bytes Icon(const std::vector<IconEntry>& entries, int type) {
  std::vector<Bytes> images;
  for (const IconEntry& e : entries) {
    QImage image(e.size, e.size, QImage::Format_ARGB32);
    image.fill(e.colour);
    if (e.png) {
      images.push_back(SavedByQt(image, "PNG"));
      continue;
    }
    Bytes dib;
    const unsigned maskRow = (e.size + 31) / 32 * 4;
    Dword(dib, 40);
    Dword(dib, e.size);
    Dword(dib, 2 * e.size);
    Word(dib, 1);
    Word(dib, 32);
    for (int i = 0; i < 6; ++i) Dword(dib, 0);
    for (int i = 0; i < e.size * e.size; ++i) {
      const QRgb p = image.pixel(i % e.size, i / e.size);
      dib.insert(dib.end(), {std::uint8_t(qBlue(p)), std::uint8_t(qGreen(p)), std::uint8_t(qRed(p)), 255});
    }
    dib.resize(dib.size() + maskRow * e.size, 0);
    images.push_back(dib);
  }
  Bytes file;
  Word(file, 0);
  Word(file, type);
  Word(file, entries.size());
  unsigned offset = 6 + 16 * entries.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    file.push_back(entries[i].size & 0xFF);
    file.push_back(entries[i].size & 0xFF);
    file.push_back(entries[i].colourByte);
    file.push_back(0);
    Word(file, 1);
    Word(file, 32);
    Dword(file, images[i].size());
    Dword(file, offset);
    offset += images[i].size();
  }
  for (const Bytes& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

Bytes Gif(QSize size, const std::vector<QColor>& palette, const std::vector<GifFrame>& frames, bool loopForEver) {
  Bytes file = Ascii("GIF89a");
  Word(file, size.width());
  Word(file, size.height());
  file.insert(file.end(), {0xF1, 0, 0});  // global table of 4 entries
  for (int i = 0; i < 4; ++i) {
    const QColor c = i < static_cast<int>(palette.size()) ? palette[i] : QColor(Qt::black);
    file.insert(file.end(), {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())});
  }
  const Bytes loop = Concat({{0x21, 0xFF, 11}, Ascii("NETSCAPE2.0"), {3, 1, 0, 0, 0}});
  if (loopForEver) file.insert(file.end(), loop.begin(), loop.end());
  for (const GifFrame& frame : frames) {
    const bool transparent = frame.transparentIndex >= 0;
    file.insert(file.end(), {0x21, 0xF9, 4, std::uint8_t(transparent ? 0x05 : 0x04)});
    Word(file, frame.delay);
    file.insert(file.end(), {std::uint8_t(transparent ? frame.transparentIndex : 0), 0});
    file.push_back(0x2C);
    Word(file, 0);
    Word(file, 0);
    Word(file, size.width());
    Word(file, size.height());
    file.push_back(0);
    // LZW with a minimum code size of 2: a clear code before every pixel keeps the code
    // width at 3 bits and the table empty, which every decoder must accept.
    file.push_back(2);
    std::vector<unsigned> codes;
    for (std::uint8_t index : frame.indices) codes.insert(codes.end(), {4u, index});
    codes.push_back(5);
    Bytes packed;
    unsigned acc = 0, bits = 0;
    for (unsigned code : codes) {
      acc |= code << bits;
      bits += 3;
      while (bits >= 8) {
        packed.push_back(acc & 0xFF);
        acc >>= 8;
        bits -= 8;
      }
    }
    if (bits > 0) packed.push_back(acc & 0xFF);
    for (std::size_t at = 0; at < packed.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
      file.push_back(static_cast<std::uint8_t>(n));
      file.insert(file.end(), packed.begin() + at, packed.begin() + at + n);
    }
    file.push_back(0);
  }
  file.push_back(0x3B);
  return file;
}

namespace {

Bytes PcxHeader(int version, int bitsPerPixel, int width, int height, int bytesPerLine) {
  Bytes h(128, 0);
  h[0] = 0x0A;
  h[1] = version;
  h[2] = 1;
  h[3] = bitsPerPixel;
  h[8] = (width - 1) & 0xFF;
  h[9] = (width - 1) >> 8;
  h[10] = (height - 1) & 0xFF;
  h[11] = (height - 1) >> 8;
  h[65] = 1;
  h[66] = bytesPerLine & 0xFF;
  h[67] = bytesPerLine >> 8;
  return h;
}

// Runs of equal bytes become a count byte and the value; a single byte below 0xC0 stays.
Bytes RunLength(const Bytes& data) {
  Bytes out;
  for (std::size_t at = 0; at < data.size();) {
    std::size_t run = 1;
    while (at + run < data.size() && data[at + run] == data[at] && run < 63) ++run;
    if (run > 1 || data[at] >= 0xC0) out.push_back(0xC0 | run);
    out.push_back(data[at]);
    at += run;
  }
  return out;
}

}  // namespace

Bytes Pcx8(int width, int height, const std::vector<std::uint8_t>& indices, const std::vector<QColor>& palette) {
  const int bytesPerLine = (width + 1) / 2 * 2;
  Bytes data;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < bytesPerLine; ++x) data.push_back(x < width ? indices[y * width + x] : 0);
  }
  Bytes tail{0x0C};
  for (int i = 0; i < 256; ++i) {
    const QColor c = i < static_cast<int>(palette.size()) ? palette[i] : QColor(Qt::black);
    tail.insert(tail.end(), {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())});
  }
  return Concat({PcxHeader(5, 8, width, height, bytesPerLine), RunLength(data), tail});
}

Bytes Pcx1(int width, int height, const std::vector<std::uint8_t>& bits) {
  const int bytesPerLine = (width + 15) / 16 * 2;
  Bytes data(std::size_t(bytesPerLine) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bits[y * width + x]) data[y * bytesPerLine + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return Concat({PcxHeader(3, 1, width, height, bytesPerLine), RunLength(data)});
}

}  // namespace brenvik::testing
