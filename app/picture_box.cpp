#include "app/picture_box.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "app/jpeg_decoder.h"
#include "app/pcx_decoder.h"
#include "app/picture_format.h"

namespace brenvik {
namespace {

constexpr std::size_t kBmpHeaderSize = 14 + 40;

std::uint32_t Dword(const Bytes& b, std::size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// A QByteArray over `bytes` without a copy; valid while `bytes` lives unchanged.
QByteArray View(const Bytes& bytes) {
  return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Files above this many pixels are refused before Qt allocates anything for them.
constexpr std::uint64_t kMaxPixels = 16 * 1024 * 1024;
// Icon and cursor images are at most 256 pixels square; some slack for odd files.
constexpr std::uint32_t kMaxIconSide = 1024;

std::uint64_t Magnitude(std::int32_t v) { return v < 0 ? std::uint64_t(-std::int64_t{v}) : std::uint64_t(v); }

// Checks Qt's BMP reader does not make: a size within kMaxPixels, and for uncompressed data
// pixel rows that end inside the file (Qt would show whatever rows a cut file holds, where a
// cut file should show nothing at all).
bool BmpAcceptable(const Bytes& b) {
  if (b.size() < kBmpHeaderSize) return false;
  const std::uint32_t headerSize = Dword(b, 14);
  if (headerSize < 40) return true;  // OS/2 headers: left to Qt
  const std::uint32_t pixelsAt = Dword(b, 10);
  const auto width = static_cast<std::int32_t>(Dword(b, 18));
  const auto height = static_cast<std::int32_t>(Dword(b, 22));
  const unsigned bitCount = b[28] | (unsigned{b[29]} << 8);
  const std::uint32_t compression = Dword(b, 30);
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  if (Magnitude(width) * Magnitude(height) > kMaxPixels) return false;
  if (compression != 0 && compression != 3) return true;  // run-length data: Qt's reader checks it
  if (bitCount == 0 || bitCount > 32) return false;
  const std::uint64_t rowBytes = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
  return std::uint64_t{pixelsAt} + rowBytes * Magnitude(height) <= b.size();
}

QImage DecodeBmp(const Bytes& bytes) {
  if (!BmpAcceptable(bytes)) return {};
  QImage image;
  if (!image.loadFromData(View(bytes), "BMP")) return {};
  return image;
}

// The directory entry `index` must lie inside the file, and so must the image it points at,
// a PNG or a DIB header whose sides (the height counting the mask twice) are icon-sized.
bool IconEntryAcceptable(const Bytes& b, int index) {
  const std::size_t entry = 6 + 16 * std::size_t(index);
  const std::uint64_t size = Dword(b, entry + 8);
  const std::uint64_t offset = Dword(b, entry + 12);
  if (size < 24 || offset < 6 || offset + size > b.size()) return false;
  if (b[offset] == 0x89 && b[offset + 1] == 'P' && b[offset + 2] == 'N' && b[offset + 3] == 'G') {
    const auto big = [&](std::size_t at) {
      return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
    };
    return big(offset + 16) <= kMaxIconSide && big(offset + 20) <= kMaxIconSide;
  }
  if (size < 40) return false;
  const auto width = static_cast<std::int32_t>(Dword(b, offset + 4));
  const auto height = static_cast<std::int32_t>(Dword(b, offset + 8));
  return width > 0 && std::uint32_t(width) <= kMaxIconSide && Magnitude(height) <= 2 * kMaxIconSide;
}

// ICO and CUR: our directory choice, Qt's ico reader for the image itself (a DIB or a PNG).
QImage DecodeIcon(const Bytes& bytes, bool cursor) {
  const int index = ChooseIconImage(bytes);
  if (index < 0 || !IconEntryAcceptable(bytes, index)) return {};
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  // Qt's reader knows only the icon type word; a cursor file differs from an icon in that
  // word and in its hot-spot fields, which are not needed for drawing.
  if (cursor) data[2] = 1;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  if (!reader.jumpToImage(index)) return {};
  QImage image = reader.read();
  if (image.isNull()) return {};
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage ImageFromPcx(const Bytes& bytes) {
  std::optional<PcxImage> pcx = DecodePcx(bytes);
  if (!pcx) return {};
  QImage image(pcx->width, pcx->height, QImage::Format_RGB32);
  if (image.isNull()) return {};
  for (int y = 0; y < pcx->height; ++y) {
    std::memcpy(image.scanLine(y), pcx->pixels.data() + std::size_t(y) * std::size_t(pcx->width),
                std::size_t(pcx->width) * 4);
  }
  return image;
}

// The shortest frame delay we honour; like the browsers, frames that give 10 ms or less
// (most often none) are shown for kDefaultGifDelayMs.
constexpr int kMinGifDelayMs = 20;
constexpr int kDefaultGifDelayMs = 100;

int FrameDelay(int fileDelayMs) { return fileDelayMs <= 10 ? kDefaultGifDelayMs : std::max(fileDelayMs, kMinGifDelayMs); }

}  // namespace

// What a box shows: a still image, or the current frame of a GIF that plays. Qt's GIF reader
// composes each frame onto the ones before it by the file's transparency and disposal rules;
// a timer on the GUI thread asks for the next frame when the current one's delay is over, and
// at the end (or at a frame that does not decode) the reader starts again from the first.
struct PictureBox::Shown {
  QImage image;
  QByteArray gifData;  // the box's own copy, read by gifReader
  QBuffer gifBuffer;
  std::unique_ptr<QImageReader> gifReader;
  QTimer gifTimer;

  void RestartGif() {
    gifReader.reset();
    gifBuffer.close();
    gifBuffer.setBuffer(&gifData);
    gifBuffer.open(QIODevice::ReadOnly);
    gifReader = std::make_unique<QImageReader>(&gifBuffer, "gif");
  }

  // Moves to the next frame; false if not even the first frame decodes any more.
  bool NextGifFrame() {
    QImage frame = gifReader->read();
    if (frame.isNull()) {
      RestartGif();
      frame = gifReader->read();
      if (frame.isNull()) return false;
    }
    image = std::move(frame);
    gifTimer.start(FrameDelay(gifReader->nextImageDelay()));
    return true;
  }
};

PictureBox::PictureBox(Mode mode, QWidget* parent) : QWidget(parent), mode_(mode) {}

PictureBox::~PictureBox() = default;

void PictureBox::SetPicture(const Bytes& bytes) {
  stored_ = bytes;
  shown_.reset();
  update();
  if (stored_.empty()) return;

  auto shown = std::make_unique<Shown>();
  switch (RecognisePictureFormat(stored_)) {
    case PictureFormat::None:
      return;
    case PictureFormat::Bmp:
      shown->image = DecodeBmp(stored_);
      break;
    case PictureFormat::Jpeg:
      shown->image = DecodeJpeg(stored_);
      break;
    case PictureFormat::Ico:
    case PictureFormat::Cur:
      shown->image = DecodeIcon(stored_, RecognisePictureFormat(stored_) == PictureFormat::Cur);
      break;
    case PictureFormat::Pcx8:
    case PictureFormat::Pcx1:
      shown->image = ImageFromPcx(stored_);
      break;
    case PictureFormat::Gif: {
      // The first frame must be whole and decode, or the box stays blank (Qt's reader would
      // show the rows of a cut frame). A file of several frames plays over and over.
      if (!GifFirstImageComplete(stored_)) break;
      shown->gifData = QByteArray(reinterpret_cast<const char*>(stored_.data()), static_cast<qsizetype>(stored_.size()));
      shown->RestartGif();
      const int frames = shown->gifReader->imageCount();
      if (!shown->NextGifFrame()) break;
      if (frames <= 1) {
        shown->gifTimer.stop();
        shown->gifReader.reset();
        break;
      }
      shown->gifTimer.setSingleShot(true);
      Shown* playing = shown.get();
      connect(&shown->gifTimer, &QTimer::timeout, this, [this, playing] {
        if (!playing->NextGifFrame()) playing->gifTimer.stop();
        update();
      });
      break;
    }
  }
  if (shown->image.isNull()) return;
  shown_ = std::move(shown);
}

const Bytes& PictureBox::Picture() const { return stored_; }

PictureBox::Mode PictureBox::DisplayMode() const { return mode_; }

bool PictureBox::HasShownPicture() const { return shown_ != nullptr; }

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  if (!shown_) return;
  const QImage& frame = shown_->image;
  if (mode_ == Mode::TopLeft) {
    painter.drawImage(QPoint(0, 0), frame);
  } else {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), frame);
  }
}

QIcon IconFromIcoFile(const Bytes& ico) {
  QIcon icon;
  if (RecognisePictureFormat(ico) != PictureFormat::Ico) return icon;
  QByteArray view = View(ico);
  QBuffer buffer(&view);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  const int count = reader.imageCount();
  for (int i = 0; i < count; ++i) {
    if (!reader.jumpToImage(i)) break;
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit LeftButtonPressed();
  QWidget::mousePressEvent(event);
}

}  // namespace brenvik
