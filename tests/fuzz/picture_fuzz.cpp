// The picture boxes over arbitrary bytes: format rules, the icon choice, every decoder and
// both ways of drawing. The bytes must always come back exactly as written.
#include <QApplication>
#include <QPixmap>

#include <cstdlib>

#include "app/picture_box.h"
#include "app/picture_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_picture";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  static brenvik::PictureBox* stretch = [] {
    auto* box = new brenvik::PictureBox(brenvik::PictureBox::Mode::Stretch);
    box->resize(60, 60);
    return box;
  }();
  static brenvik::PictureBox* topLeft = [] {
    auto* box = new brenvik::PictureBox(brenvik::PictureBox::Mode::TopLeft);
    box->resize(24, 24);
    return box;
  }();

  const brenvik::Bytes bytes(data, data + size);
  (void)brenvik::RecognisePictureFormat(bytes);
  const int chosen = brenvik::ChooseIconImage(bytes);
  if (chosen < -1) std::abort();
  (void)brenvik::GifFirstImageComplete(bytes);
  for (brenvik::PictureBox* box : {stretch, topLeft}) {
    box->SetPicture(bytes);
    if (box->Picture() != bytes) std::abort();
    (void)box->grab();
  }
  app->processEvents();  // lets a GIF advance a frame
  return 0;
}
