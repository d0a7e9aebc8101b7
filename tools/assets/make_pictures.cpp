// Draws the three pictures the program carries and writes their files, the window's icons into
// the first directory (app/assets), the lookup's not-found picture into the second (lookup/assets):
//   link.ico       the link icon: seven 32-bit images with alpha, 48 32 16 256 24 64 128 pixels,
//                  as uncompressed DIBs with AND masks (372,526 bytes)
//   program.ico    the program icon, the same seven sizes
//   not_found.jpg  255 x 153 baseline JFIF 1.01 at 96 dpi, padded to exactly 6,528 bytes
//   icons/program-<size>.png  the program icon for desktop installs
// Usage: brenvik-make-pictures <icons directory> <not-found picture directory>

#include <cstdio>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/jpeg/jpeg_writer.h"

namespace {

constexpr int kIconSizes[] = {48, 32, 16, 256, 24, 64, 128};
constexpr std::size_t kNotFoundSize = 6528;
constexpr int kNotFoundWidth = 255;
constexpr int kNotFoundHeight = 153;

using Bytes = std::vector<unsigned char>;

void PutWord(Bytes& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void PutDword(Bytes& out, unsigned v) {
  PutWord(out, v & 0xFFFF);
  PutWord(out, v >> 16);
}

QImage Canvas(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// The link icon: a blue globe with white meridians and a small white arrow pointing out.
QImage DrawLinkIcon(int size) {
  QImage image = Canvas(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  QRadialGradient sea(QPointF(24, 22), 40);
  sea.setColorAt(0, QColor(110, 190, 255));
  sea.setColorAt(1, QColor(20, 80, 180));
  p.setBrush(sea);
  p.setPen(QPen(QColor(15, 55, 130), 2.5));
  p.drawEllipse(QPointF(30, 34), 26, 26);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 220), size < 24 ? 3 : 2.2));
  p.drawEllipse(QPointF(30, 34), 11, 26);
  p.drawLine(QPointF(30, 8), QPointF(30, 60));
  p.drawLine(QPointF(4, 34), QPointF(56, 34));
  p.drawArc(QRectF(8, 14, 44, 16), 0, 180 * 16);
  p.drawArc(QRectF(8, 38, 44, 16), 180 * 16, 180 * 16);
  QPainterPath arrow;
  arrow.moveTo(38, 4);
  arrow.lineTo(62, 4);
  arrow.lineTo(62, 28);
  arrow.lineTo(54, 20);
  arrow.lineTo(44, 30);
  arrow.lineTo(36, 22);
  arrow.lineTo(46, 12);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(120, 60, 0), 2));
  p.setBrush(QColor(255, 190, 40));
  p.drawPath(arrow);
  return image;
}

// The program icon: an olive shield with a magnifying glass over it.
QImage DrawProgramIcon(int size) {
  QImage image = Canvas(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  QPainterPath shield;
  shield.moveTo(32, 3);
  shield.cubicTo(42, 9, 50, 10, 58, 10);
  shield.cubicTo(58, 36, 50, 52, 32, 61);
  shield.cubicTo(14, 52, 6, 36, 6, 10);
  shield.cubicTo(14, 10, 22, 9, 32, 3);
  QLinearGradient olive(QPointF(0, 0), QPointF(64, 64));
  olive.setColorAt(0, QColor(190, 206, 150));
  olive.setColorAt(1, QColor(92, 112, 52));
  p.setPen(QPen(QColor(60, 74, 30), 2.5));
  p.setBrush(olive);
  p.drawPath(shield);
  p.setPen(QPen(QColor(240, 200, 60), 7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(38, 38), QPointF(52, 52));
  p.setPen(QPen(QColor(40, 40, 40), 4.5));
  p.setBrush(QColor(220, 240, 255, 200));
  p.drawEllipse(QPointF(28, 28), 13, 13);
  return image;
}

// One icon file: directory, then per image a BITMAPINFOHEADER (height doubled for the mask),
// the BGRA rows bottom-up and the AND mask rows (1 = transparent), each padded to 32 bits.
Bytes IconFile(QImage (*draw)(int)) {
  std::vector<Bytes> images;
  for (int size : kIconSizes) {
    const QImage image = draw(size).convertToFormat(QImage::Format_ARGB32);
    Bytes dib;
    const unsigned maskRow = (size + 31) / 32 * 4;
    PutDword(dib, 40);
    PutDword(dib, size);
    PutDword(dib, 2 * size);
    PutWord(dib, 1);
    PutWord(dib, 32);
    PutDword(dib, 0);
    PutDword(dib, size * size * 4 + maskRow * size);
    for (int i = 0; i < 4; ++i) PutDword(dib, 0);
    for (int y = size - 1; y >= 0; --y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < size; ++x) {
        dib.push_back(qBlue(row[x]));
        dib.push_back(qGreen(row[x]));
        dib.push_back(qRed(row[x]));
        dib.push_back(qAlpha(row[x]));
      }
    }
    for (int y = size - 1; y >= 0; --y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      Bytes bits(maskRow, 0);
      for (int x = 0; x < size; ++x) {
        if (qAlpha(row[x]) == 0) bits[x / 8] |= 0x80 >> (x % 8);
      }
      dib.insert(dib.end(), bits.begin(), bits.end());
    }
    images.push_back(std::move(dib));
  }
  Bytes file;
  PutWord(file, 0);
  PutWord(file, 1);
  PutWord(file, images.size());
  unsigned offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = kIconSizes[i];
    file.push_back(size == 256 ? 0 : size);
    file.push_back(size == 256 ? 0 : size);
    file.push_back(0);  // colour count: none, a 32-bit image
    file.push_back(0);
    PutWord(file, 1);
    PutWord(file, 32);
    PutDword(file, images[i].size());
    PutDword(file, offset);
    offset += images[i].size();
  }
  for (const Bytes& dib : images) file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

QImage DrawNotFound() {
  QImage image(kNotFoundWidth, kNotFoundHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath triangle;
  triangle.moveTo(52, 36);
  triangle.lineTo(92, 110);
  triangle.lineTo(12, 110);
  triangle.closeSubpath();
  p.setPen(QPen(QColor(150, 100, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(255, 204, 0));
  p.drawPath(triangle);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 30, 0));
  QPainterPath bar;
  bar.moveTo(47, 58);
  bar.lineTo(57, 58);
  bar.lineTo(54.5, 90);
  bar.lineTo(49.5, 90);
  bar.closeSubpath();
  p.drawPath(bar);
  p.drawEllipse(QPointF(52, 99), 5, 5);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(28);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(0, 60, 220));
  p.drawText(QRect(100, 46, 150, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("页面出错！"));
  return image;
}

// Baseline JFIF 1.01, 96 dpi, Huffman tables made for the picture; with `padding` >= 4, a
// comment segment of that many bytes.
Bytes EncodeJpeg(const QImage& image, int quality, std::size_t padding) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  return jpeg::EncodeRgb(rgb.constBits(), rgb.width(), rgb.height(), static_cast<std::size_t>(rgb.bytesPerLine()),
                         {.quality = quality,
                          .optimizeCoding = true,
                          .densityUnit = 1,
                          .xDensity = 96,
                          .yDensity = 96,
                          .commentBytes = padding});
}

Bytes NotFoundFile() {
  const QImage image = DrawNotFound();
  for (int quality = 95; quality > 5; --quality) {
    const Bytes plain = EncodeJpeg(image, quality, 0);
    if (plain.size() + 4 <= kNotFoundSize) return EncodeJpeg(image, quality, kNotFoundSize - plain.size());
  }
  return {};
}

bool Write(const QString& path, const Bytes& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
         static_cast<qint64>(bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: brenvik-make-pictures <icons directory> <not-found picture directory>\n");
    return 2;
  }
  // Without the face, fontconfig would quietly draw the caption in another one (or as boxes).
  QFont hei(QStringLiteral("WenQuanYi Micro Hei"));
  if (QFontInfo(hei).family() != hei.family()) {
    std::fprintf(stderr, "the font WenQuanYi Micro Hei (fonts-wqy-microhei) is not installed\n");
    return 1;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const QDir notFoundDir(QString::fromLocal8Bit(argv[2]));
  dir.mkpath(QStringLiteral("icons"));
  notFoundDir.mkpath(QStringLiteral("."));

  const Bytes notFound = NotFoundFile();
  if (notFound.size() != kNotFoundSize) {
    std::fprintf(stderr, "the not-found picture came out at %zu bytes\n", notFound.size());
    return 1;
  }
  bool ok = Write(notFoundDir.filePath(QStringLiteral("not_found.jpg")), notFound);
  ok = ok && Write(dir.filePath(QStringLiteral("link.ico")), IconFile(DrawLinkIcon));
  ok = ok && Write(dir.filePath(QStringLiteral("program.ico")), IconFile(DrawProgramIcon));
  for (int size : kIconSizes) {
    ok = ok && DrawProgramIcon(size).save(dir.filePath(QStringLiteral("icons/program-%1.png").arg(size)));
  }
  if (!ok) {
    std::fprintf(stderr, "could not write into %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
