// Picture boxes: the bytes they keep, the files they show and how they draw them, and the
// pictures the program carries.
#include <QApplication>
#include <QPainter>
#include <QtTest>

#include "app/picture_box.h"
#include "app/picture_format.h"
#include "app/pictures.h"
#include "lookup/not_found_picture.h"
#include "tests/app/picture_fixtures.h"

Q_DECLARE_METATYPE(brenvik::Bytes)

namespace brenvik {
namespace {

using namespace brenvik::testing;

const QColor kBackground(212, 208, 200);
const QColor kRed(230, 20, 20), kGreen(20, 200, 20), kBlue(20, 20, 230);

Bytes Ascii(const char* s) { return Bytes(s, s + std::strlen(s)); }

// The JPEG test picture, 100 x 50: red top-left 16 x 16, green to x = 50, blue beyond.
QImage Blocks() {
  QImage image(100, 50, QImage::Format_RGB32);
  image.fill(kBlue);
  QPainter p(&image);
  p.fillRect(0, 0, 50, 50, kGreen);
  p.fillRect(0, 0, 16, 16, kRed);
  return image;
}

std::unique_ptr<PictureBox> Box(PictureBox::Mode mode, QSize size) {
  auto box = std::make_unique<PictureBox>(mode);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Button, kBackground);
  box->setPalette(palette);
  box->resize(size);
  return box;
}

QImage Grab(PictureBox& box) { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool Near(QColor a, QColor b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

QString Describe(QColor c) { return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

#define VERIFY_PIXEL(image, x, y, expected)                                                          \
  QVERIFY2(Near((image).pixelColor((x), (y)), (expected)),                                         \
           qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")                             \
                          .arg(x).arg(y).arg(Describe((image).pixelColor((x), (y))), Describe(expected))))

bool AllBackground(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != kBackground) return false;
    }
  }
  return true;
}

Bytes Corrupt(Bytes bytes, std::size_t from, std::size_t count, std::uint8_t value) {
  for (std::size_t i = from; i < from + count && i < bytes.size(); ++i) bytes[i] = value;
  return bytes;
}

Bytes Cut(const Bytes& bytes, std::size_t size) { return Bytes(bytes.begin(), bytes.begin() + std::min(size, bytes.size())); }

unsigned Word(const Bytes& b, std::size_t at) { return b[at] | (unsigned{b[at + 1]} << 8); }
unsigned Dword(const Bytes& b, std::size_t at) { return Word(b, at) | (Word(b, at + 2) << 16); }

}  // namespace

class PictureBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void recognisesFormatsByTheFirstSixBytes_data();
  void recognisesFormatsByTheFirstSixBytes();
  void keepsExactBytesOfWhatItCannotShow_data();
  void keepsExactBytesOfWhatItCannotShow();
  void showsEveryDecodableFormat_data();
  void showsEveryDecodableFormat();
  void drawsJpegTopLeftAndStretched_data();
  void drawsJpegTopLeftAndStretched();
  void choosesTheIconImage_data();
  void choosesTheIconImage();
  void drawsIconsWithTransparency();
  void playsGifFramesWithoutBlocking_data();
  void playsGifFramesWithoutBlocking();
  void keepsEarlierGifFramesUnderTransparentPixels();
  void decodesPcxPixels();
  void leavesBrokenFilesBlank_data();
  void leavesBrokenFilesBlank();
  void aNewWriteReplacesTheShownPicture();
  void embeddedPicturesHaveTheirFormatsAndSizes();
  void reportsLeftButtonPresses();
};

void PictureBoxTest::recognisesFormatsByTheFirstSixBytes_data() {
  QTest::addColumn<QByteArray>("start");
  QTest::addColumn<int>("format");
  const auto row = [](const char* name, QByteArray start, PictureFormat format) {
    QTest::newRow(name) << start << static_cast<int>(format);
  };
  row("BMP", "BM\0\0\0\0"_qba, PictureFormat::Bmp);
  row("JPEG", "\xFF\xD8\xFF\xE0\0\x10"_qba, PictureFormat::Jpeg);
  row("ICO with one image", "\0\0\1\0\1\0"_qba, PictureFormat::Ico);
  row("ICO of no images", "\0\0\1\0\0\0"_qba, PictureFormat::None);
  row("CUR", "\0\0\2\0\3\0"_qba, PictureFormat::Cur);
  row("type word 3", "\0\0\3\0\1\0"_qba, PictureFormat::None);
  row("GIF87a", "GIF87a"_qba, PictureFormat::Gif);
  row("GIF89a", "GIF89a"_qba, PictureFormat::Gif);
  row("GIF88a", "GIF88a"_qba, PictureFormat::None);
  row("GIF89 alone", "GIF89"_qba, PictureFormat::None);
  row("PCX 8-bit version 5", "\x0A\x05\x01\x08\0\0"_qba, PictureFormat::Pcx8);
  row("PCX 8-bit version 6", "\x0A\x06\x01\x08\0\0"_qba, PictureFormat::None);
  row("PCX 1-bit version 3", "\x0A\x03\x01\x01\0\0"_qba, PictureFormat::Pcx1);
  row("PCX 1-bit version 5", "\x0A\x05\x01\x01\0\0"_qba, PictureFormat::None);
  row("PCX not run-length", "\x0A\x05\x00\x08\0\0"_qba, PictureFormat::None);
  row("PNG", "\x89PNG\r\n"_qba, PictureFormat::None);
  row("HTML", "<html>"_qba, PictureFormat::None);
}

void PictureBoxTest::recognisesFormatsByTheFirstSixBytes() {
  QFETCH(QByteArray, start);
  QFETCH(int, format);
  QCOMPARE(static_cast<int>(RecognisePictureFormat(Bytes(start.begin(), start.end()))), format);
}

void PictureBoxTest::keepsExactBytesOfWhatItCannotShow_data() {
  QTest::addColumn<Bytes>("bytes");
  QImage png(8, 8, QImage::Format_RGB32);
  png.fill(kRed);
  QTest::newRow("empty") << Bytes{};
  QTest::newRow("HTML error page") << Ascii("<html><body>404 Not Found</body></html>\r\n");
  QTest::newRow("PNG") << SavedByQt(png, "PNG");
  QTest::newRow("five bytes of a GIF signature") << Ascii("GIF89");
  QTest::newRow("zero bytes and high bytes") << Bytes{0, 0xFF, 0, 0x80, 0, 0};
}

void PictureBoxTest::keepsExactBytesOfWhatItCannotShow() {
  QFETCH(Bytes, bytes);
  auto box = Box(PictureBox::Mode::Stretch, QSize(20, 20));
  box->SetPicture(Jpeg(Blocks()));
  QVERIFY(box->HasShownPicture());
  box->SetPicture(bytes);
  QCOMPARE(box->Picture(), bytes);
  QCOMPARE(box->Picture(), bytes);
  QVERIFY(!box->HasShownPicture());
  QVERIFY(AllBackground(Grab(*box)));
}

void PictureBoxTest::showsEveryDecodableFormat_data() {
  QTest::addColumn<Bytes>("bytes");
  QTest::addColumn<QColor>("colour");
  QImage image(6, 4, QImage::Format_RGB32);
  image.fill(kGreen);
  QTest::newRow("JPEG") << Jpeg(Blocks()) << kRed;
  QTest::newRow("progressive JPEG of 7 scans") << Jpeg(Blocks(), 2) << kRed;
  QTest::newRow("progressive JPEG of 100 scans") << Jpeg(Blocks(), 33) << kRed;
  QTest::newRow("JPEG by Qt") << SavedByQt(Blocks(), "JPG") << kRed;
  QTest::newRow("BMP") << SavedByQt(image, "BMP") << kGreen;
  QTest::newRow("ICO") << Icon({{16, 0, kBlue}}) << kBlue;
  QTest::newRow("ICO with a PNG image") << Icon({{16, 0, kBlue, true}}) << kBlue;
  QTest::newRow("CUR") << Icon({{16, 0, kGreen}}, 2) << kGreen;
  QTest::newRow("GIF of one frame") << Gif(QSize(2, 2), {kRed, kBlue}, {{{0, 0, 0, 0}, 0}}) << kRed;
  QTest::newRow("PCX 8-bit") << Pcx8(3, 3, std::vector<std::uint8_t>(9, 7), {{}, {}, {}, {}, {}, {}, {}, kBlue}) << kBlue;
  QTest::newRow("PCX 1-bit") << Pcx1(3, 3, std::vector<std::uint8_t>(9, 1)) << QColor(Qt::white);
}

// Each file decodes, is drawn, and its bytes come back unchanged.
void PictureBoxTest::showsEveryDecodableFormat() {
  QFETCH(Bytes, bytes);
  QFETCH(QColor, colour);
  auto box = Box(PictureBox::Mode::TopLeft, QSize(120, 60));
  box->SetPicture(bytes);
  QVERIFY(box->HasShownPicture());
  QCOMPARE(box->Picture(), bytes);
  const QImage grab = Grab(*box);
  VERIFY_PIXEL(grab, 1, 1, colour);
  VERIFY_PIXEL(grab, 119, 59, kBackground);
}

void PictureBoxTest::drawsJpegTopLeftAndStretched_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QPoint>("point");
  QTest::addColumn<QColor>("colour");
  const int topLeft = static_cast<int>(PictureBox::Mode::TopLeft);
  const int stretch = static_cast<int>(PictureBox::Mode::Stretch);
  // Top-left at natural size, cut at 24 x 24: only red and green show.
  QTest::newRow("top-left 24: red corner") << topLeft << QSize(24, 24) << QPoint(4, 4) << kRed;
  QTest::newRow("top-left 24: green right of it") << topLeft << QSize(24, 24) << QPoint(21, 4) << kGreen;
  QTest::newRow("top-left 24: green below it") << topLeft << QSize(24, 24) << QPoint(4, 21) << kGreen;
  QTest::newRow("top-left 24: green far corner") << topLeft << QSize(24, 24) << QPoint(23, 23) << kGreen;
  // In a larger box the rest shows the background.
  QTest::newRow("top-left 120x60: blue inside") << topLeft << QSize(120, 60) << QPoint(95, 45) << kBlue;
  QTest::newRow("top-left 120x60: background right") << topLeft << QSize(120, 60) << QPoint(110, 10) << kBackground;
  QTest::newRow("top-left 120x60: background below") << topLeft << QSize(120, 60) << QPoint(10, 55) << kBackground;
  // Stretched to 60 x 60: 0.6 across, 1.2 down, reaching every edge.
  QTest::newRow("stretch 60: red corner") << stretch << QSize(60, 60) << QPoint(4, 4) << kRed;
  QTest::newRow("stretch 60: red is 19 tall") << stretch << QSize(60, 60) << QPoint(3, 16) << kRed;
  QTest::newRow("stretch 60: green below red") << stretch << QSize(60, 60) << QPoint(4, 24) << kGreen;
  QTest::newRow("stretch 60: green to x 30") << stretch << QSize(60, 60) << QPoint(26, 30) << kGreen;
  QTest::newRow("stretch 60: blue from x 30") << stretch << QSize(60, 60) << QPoint(34, 30) << kBlue;
  QTest::newRow("stretch 60: blue far corner") << stretch << QSize(60, 60) << QPoint(59, 59) << kBlue;
  QTest::newRow("stretch 60: green bottom left") << stretch << QSize(60, 60) << QPoint(0, 59) << kGreen;
}

void PictureBoxTest::drawsJpegTopLeftAndStretched() {
  QFETCH(int, mode);
  QFETCH(QSize, size);
  QFETCH(QPoint, point);
  QFETCH(QColor, colour);
  auto box = Box(static_cast<PictureBox::Mode>(mode), size);
  box->SetPicture(Jpeg(Blocks()));
  const QImage grab = Grab(*box);
  QCOMPARE(grab.size(), size);
  VERIFY_PIXEL(grab, point.x(), point.y(), colour);
}

void PictureBoxTest::choosesTheIconImage_data() {
  QTest::addColumn<Bytes>("file");
  QTest::addColumn<int>("index");
  QTest::addColumn<int>("size");
  QTest::addColumn<QColor>("colour");
  QTest::newRow("48 then 32 of 16 colours: the 32") << Icon({{48, 0, kRed}, {32, 16, kGreen}, {16, 16, kBlue}}) << 1
                                                    << 32 << kGreen;
  QTest::newRow("cursor: the same choice") << Icon({{48, 0, kRed}, {32, 16, kGreen}, {16, 16, kBlue}}, 2) << 1 << 32
                                           << kGreen;
  QTest::newRow("32 of 8 colours does not count") << Icon({{32, 8, kRed}, {16, 16, kGreen}}) << 1 << 16 << kGreen;
  QTest::newRow("colour counts 0 only: the last, whatever its size")
      << Icon({{16, 0, kRed}, {32, 0, kGreen}, {48, 0, kBlue}}) << 2 << 48 << kBlue;
  QTest::newRow("the last is a PNG") << Icon({{32, 0, kRed}, {24, 0, kBlue, true}}) << 1 << 24 << kBlue;
}

void PictureBoxTest::choosesTheIconImage() {
  QFETCH(Bytes, file);
  QFETCH(int, index);
  QFETCH(int, size);
  QFETCH(QColor, colour);
  QCOMPARE(ChooseIconImage(file), index);
  auto box = Box(PictureBox::Mode::TopLeft, QSize(60, 60));
  box->SetPicture(file);
  QVERIFY(box->HasShownPicture());
  const QImage grab = Grab(*box);
  VERIFY_PIXEL(grab, size - 1, size - 1, colour);
  VERIFY_PIXEL(grab, size, size, kBackground);
}

// The link icon's corners are transparent: stretched to 24 x 24 they show the background.
void PictureBoxTest::drawsIconsWithTransparency() {
  auto box = Box(PictureBox::Mode::Stretch, QSize(24, 24));
  box->SetPicture(LinkIcon());
  QVERIFY(box->HasShownPicture());
  const QImage grab = Grab(*box);
  VERIFY_PIXEL(grab, 0, 23, kBackground);
  QVERIFY(!AllBackground(grab));

  // A GIF's transparent index shows the background too.
  box->SetPicture(Gif(QSize(2, 2), {kRed, kBlue}, {{{0, 1, 1, 1}, 0, 1}}));
  QVERIFY(box->HasShownPicture());
  const QImage gif = Grab(*box);
  VERIFY_PIXEL(gif, 2, 2, kRed);
  VERIFY_PIXEL(gif, 20, 20, kBackground);
}

void PictureBoxTest::playsGifFramesWithoutBlocking_data() {
  QTest::addColumn<bool>("loopForEver");
  QTest::newRow("file asks for endless looping") << true;
  QTest::newRow("file asks for one pass") << false;
}

// Red for 50 ms, then blue, then red again, over and over whatever the file asks: the event
// loop keeps running while the frames change, and the stored bytes stay as written.
void PictureBoxTest::playsGifFramesWithoutBlocking() {
  QFETCH(bool, loopForEver);
  const Bytes gif = Gif(QSize(4, 4), {kRed, kBlue},
                        {{std::vector<std::uint8_t>(16, 0), 5}, {std::vector<std::uint8_t>(16, 1), 5}}, loopForEver);
  auto box = Box(PictureBox::Mode::Stretch, QSize(10, 10));
  QElapsedTimer timer;
  timer.start();
  box->SetPicture(gif);
  QVERIFY(timer.elapsed() < 40);
  QVERIFY(box->HasShownPicture());
  bool sawRed = false, sawBlue = false;
  QTRY_VERIFY_WITH_TIMEOUT(
      [&] {
        const QColor c = Grab(*box).pixelColor(5, 5);
        sawRed = sawRed || Near(c, kRed, 5);
        sawBlue = sawBlue || Near(c, kBlue, 5);
        return sawRed && sawBlue;
      }(),
      3000);
  // It goes on: back to red, and to blue again.
  QTRY_VERIFY_WITH_TIMEOUT(Near(Grab(*box).pixelColor(5, 5), kRed, 5), 3000);
  QTRY_VERIFY_WITH_TIMEOUT(Near(Grab(*box).pixelColor(5, 5), kBlue, 5), 3000);
  QCOMPARE(box->Picture(), gif);
}

// The second frame is transparent but for its top-left pixel; the first is kept under it
// (disposal: leave in place), and the box never shows its background through.
void PictureBoxTest::keepsEarlierGifFramesUnderTransparentPixels() {
  std::vector<std::uint8_t> second(16, 2);
  second[0] = 1;
  auto box = Box(PictureBox::Mode::Stretch, QSize(8, 8));
  box->SetPicture(Gif(QSize(4, 4), {kRed, kBlue, kGreen}, {{std::vector<std::uint8_t>(16, 0), 5}, {second, 5, 2}}));
  QTRY_VERIFY_WITH_TIMEOUT(Near(Grab(*box).pixelColor(0, 0), kBlue, 5), 3000);
  const QImage grab = Grab(*box);
  VERIFY_PIXEL(grab, 6, 6, kRed);
  VERIFY_PIXEL(grab, 6, 0, kRed);
}

void PictureBoxTest::decodesPcxPixels() {
  // 8-bit, 5 x 3 (an odd width, so each line has a pad byte), runs crossing the line ends.
  const std::vector<std::uint8_t> indices{1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 0xC5, 0xC5, 1, 2};
  std::vector<QColor> palette(256, Qt::black);
  palette[1] = kRed;
  palette[2] = kGreen;
  palette[3] = kBlue;
  palette[0xC5] = QColor(250, 250, 0);
  auto box = Box(PictureBox::Mode::TopLeft, QSize(8, 8));
  box->SetPicture(Pcx8(5, 3, indices, palette));
  QVERIFY(box->HasShownPicture());
  QImage grab = Grab(*box);
  for (int i = 0; i < 15; ++i) VERIFY_PIXEL(grab, i % 5, i / 5, palette[indices[i]]);
  VERIFY_PIXEL(grab, 5, 0, kBackground);
  VERIFY_PIXEL(grab, 0, 3, kBackground);

  // 1-bit, 10 x 2 (two bytes a line): 1 is white, 0 black.
  const std::vector<std::uint8_t> bits{1, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
  box->SetPicture(Pcx1(10, 2, bits));
  QVERIFY(box->HasShownPicture());
  grab = Grab(*box);
  for (int i = 0; i < 16; ++i) {
    if (i % 10 < 8) VERIFY_PIXEL(grab, i % 10, i / 10, bits[i] ? QColor(Qt::white) : QColor(Qt::black));
  }
}

void PictureBoxTest::leavesBrokenFilesBlank_data() {
  QTest::addColumn<Bytes>("bytes");
  const Bytes jpeg = Jpeg(Blocks());
  QImage small(40, 30, QImage::Format_RGB32);
  small.fill(kGreen);
  const Bytes bmp = SavedByQt(small, "BMP");
  const Bytes ico = Icon({{32, 0, kRed}, {16, 0, kBlue}});
  const Bytes gif = Gif(QSize(4, 4), {kRed, kBlue}, {{std::vector<std::uint8_t>(16, 0), 5}, {std::vector<std::uint8_t>(16, 1), 5}});
  const Bytes pcx = Pcx8(20, 20, std::vector<std::uint8_t>(400, 1), {kRed, kRed});
  const Bytes pcx1 = Pcx1(20, 20, std::vector<std::uint8_t>(400, 1));

  QTest::newRow("JPEG cut in half") << Cut(jpeg, jpeg.size() / 2);
  QTest::newRow("JPEG of its first six bytes") << Cut(jpeg, 6);
  QTest::newRow("JPEG with its scan data overwritten") << Corrupt(jpeg, jpeg.size() - 400, 200, 0xFF);
  QTest::newRow("JPEG of 101 scans") << Jpeg(Blocks(), 34);
  {
    // The frame header claims 65,000 x 65,000 pixels.
    Bytes huge = jpeg;
    for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
      if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
        huge[i + 5] = huge[i + 7] = 0xFD;
        huge[i + 6] = huge[i + 8] = 0xE8;
        break;
      }
    }
    QTest::newRow("JPEG claiming 65000 x 65000") << huge;
  }
  QTest::newRow("BMP cut in half") << Cut(bmp, bmp.size() / 2);
  QTest::newRow("BMP of its file header only") << Cut(bmp, 14);
  QTest::newRow("BMP claiming a huge width") << Corrupt(bmp, 18, 4, 0x7F);
  QTest::newRow("BMP with a bit count of 0") << Corrupt(bmp, 28, 2, 0);
  {
    // Run-length data claiming 20,000 x 20,000 pixels in a file of a few bytes.
    Bytes rle = Cut(SavedByQt(small.convertToFormat(QImage::Format_Indexed8), "BMP"), 54 + 1024);
    rle[18] = rle[22] = 0x20;
    rle[19] = rle[23] = 0x4E;
    rle[30] = 1;
    rle.insert(rle.end(), {0, 1});
    QTest::newRow("run-length BMP claiming 20000 x 20000") << rle;
  }
  QTest::newRow("ICO directory cut short") << Cut(ico, 6 + 16);
  QTest::newRow("ICO image cut short") << Cut(ico, ico.size() - 100);
  QTest::newRow("ICO image offset past the end") << Corrupt(ico, 6 + 16 + 12, 4, 0x7F);
  QTest::newRow("ICO image header overwritten") << Corrupt(ico, Dword(ico, 6 + 16 + 12), 40, 0xFF);
  QTest::newRow("ICO image claiming 2^30 pixels wide") << Corrupt(ico, Dword(ico, 6 + 16 + 12) + 7, 1, 0x40);
  QTest::newRow("GIF signature and screen only") << Cut(gif, 13);
  QTest::newRow("GIF cut in its first frame") << Cut(gif, 13 + 12 + 19 + 8 + 10 + 4);
  QTest::newRow("GIF with its first frame overwritten") << Corrupt(gif, 13 + 12 + 19 + 8, 20, 0xFF);
  QTest::newRow("PCX header only") << Cut(pcx, 128);
  QTest::newRow("PCX without the palette") << Cut(pcx, pcx.size() - 769);
  QTest::newRow("PCX palette marker overwritten") << Corrupt(pcx, pcx.size() - 769, 1, 0);
  QTest::newRow("PCX claiming 65536 x 65536") << Corrupt(pcx, 8, 4, 0xFF);
  QTest::newRow("PCX with bytes per line below the width") << Corrupt(pcx, 66, 2, 1);
  QTest::newRow("PCX 1-bit data cut short") << Cut(pcx1, pcx1.size() - 2);
  QTest::newRow("PCX 1-bit of four planes") << Corrupt(pcx1, 65, 1, 4);
}

// Every broken file is stored as written and shows nothing (and, under the sanitizers, reads
// nothing out of bounds).
void PictureBoxTest::leavesBrokenFilesBlank() {
  QFETCH(Bytes, bytes);
  auto box = Box(PictureBox::Mode::Stretch, QSize(30, 30));
  box->SetPicture(bytes);
  QCOMPARE(box->Picture(), bytes);
  QVERIFY(!box->HasShownPicture());
  QVERIFY(AllBackground(Grab(*box)));
  // A moment of event loop, in case anything plays.
  QTest::qWait(20);
  QVERIFY(AllBackground(Grab(*box)));
}

// A still picture after a playing GIF, and a broken file after a picture, leave nothing of
// the earlier one behind.
void PictureBoxTest::aNewWriteReplacesTheShownPicture() {
  auto box = Box(PictureBox::Mode::Stretch, QSize(10, 10));
  box->SetPicture(Gif(QSize(4, 4), {kRed, kBlue}, {{std::vector<std::uint8_t>(16, 0), 2}, {std::vector<std::uint8_t>(16, 1), 2}}));
  box->SetPicture(Pcx1(4, 4, std::vector<std::uint8_t>(16, 1)));
  QTest::qWait(60);
  VERIFY_PIXEL(Grab(*box), 5, 5, QColor(Qt::white));
  box->SetPicture(Cut(Jpeg(Blocks()), 200));
  QVERIFY(!box->HasShownPicture());
  QVERIFY(AllBackground(Grab(*box)));
}

void PictureBoxTest::embeddedPicturesHaveTheirFormatsAndSizes() {
  // The not-found picture: baseline JFIF 1.01 at 96 dpi, three components, 255 x 153.
  const Bytes& jpeg = NotFoundPicture();
  QCOMPARE(jpeg.size(), std::size_t{6528});
  QCOMPARE(RecognisePictureFormat(jpeg), PictureFormat::Jpeg);
  QCOMPARE(Bytes(jpeg.begin() + 2, jpeg.begin() + 4), (Bytes{0xFF, 0xE0}));
  QCOMPARE(Bytes(jpeg.begin() + 6, jpeg.begin() + 11), (Bytes{'J', 'F', 'I', 'F', 0}));
  QCOMPARE(int(jpeg[11]), 1);  // major version
  QCOMPARE(int(jpeg[12]), 1);  // minor version
  QCOMPARE(int(jpeg[13]), 1);  // density in dots per inch
  QCOMPARE((jpeg[14] << 8) | jpeg[15], 96);
  QCOMPARE((jpeg[16] << 8) | jpeg[17], 96);
  bool sawFrame = false;
  for (std::size_t at = 2; at + 4 <= jpeg.size() && !sawFrame;) {
    QCOMPARE(int(jpeg[at]), 0xFF);
    const std::uint8_t marker = jpeg[at + 1];
    QVERIFY2(marker != 0xC2 && marker != 0xC1, "not baseline");
    const unsigned length = (jpeg[at + 2] << 8) | jpeg[at + 3];
    if (marker == 0xC0) {
      QCOMPARE((jpeg[at + 5] << 8) | jpeg[at + 6], 153);
      QCOMPARE((jpeg[at + 7] << 8) | jpeg[at + 8], 255);
      QCOMPARE(int(jpeg[at + 9]), 3);
      sawFrame = true;
    }
    at += 2 + length;
  }
  QVERIFY(sawFrame);
  QCOMPARE(Bytes(jpeg.end() - 2, jpeg.end()), (Bytes{0xFF, 0xD9}));
  auto box = Box(PictureBox::Mode::Stretch, QSize(60, 60));
  box->SetPicture(jpeg);
  QVERIFY(box->HasShownPicture());

  // The two icons: seven 32-bit DIBs with masks, 48 32 16 256 24 64 128; the 128 is shown.
  for (const Bytes* ico : {&LinkIcon(), &ProgramIcon()}) {
    QCOMPARE(ico->size(), std::size_t{372526});
    QCOMPARE(RecognisePictureFormat(*ico), PictureFormat::Ico);
    QCOMPARE(Word(*ico, 4), 7u);
    const unsigned sizes[] = {48, 32, 16, 256, 24, 64, 128};
    for (unsigned i = 0; i < 7; ++i) {
      const std::size_t entry = 6 + 16 * i;
      QCOMPARE(unsigned((*ico)[entry]), sizes[i] & 0xFF);
      QCOMPARE(unsigned((*ico)[entry + 1]), sizes[i] & 0xFF);
      QCOMPARE(Word(*ico, entry + 6), 32u);
      const std::size_t header = Dword(*ico, entry + 12);
      QCOMPARE(Dword(*ico, header), 40u);
      QCOMPARE(Dword(*ico, header + 4), sizes[i]);
      QCOMPARE(Dword(*ico, header + 8), 2 * sizes[i]);
      QCOMPARE(Word(*ico, header + 14), 32u);
      QCOMPARE(Dword(*ico, entry + 8), 40 + sizes[i] * sizes[i] * 4 + (sizes[i] + 31) / 32 * 4 * sizes[i]);
    }
    QCOMPARE(ChooseIconImage(*ico), 6);
    QCOMPARE(IconFromIcoFile(*ico).availableSizes().size(), 7);
  }
  QVERIFY(LinkIcon() != ProgramIcon());
}

void PictureBoxTest::reportsLeftButtonPresses() {
  auto box = Box(PictureBox::Mode::Stretch, QSize(24, 24));
  QSignalSpy spy(box.get(), &PictureBox::LeftButtonPressed);
  QTest::mousePress(box.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(3, 3));
  QTest::mousePress(box.get(), Qt::RightButton, {}, QPoint(3, 3));
  QTest::mousePress(box.get(), Qt::LeftButton, {}, QPoint(20, 20));
  QCOMPARE(spy.count(), 2);
}

}  // namespace brenvik

QTEST_MAIN(brenvik::PictureBoxTest)
#include "picture_box_test.moc"
