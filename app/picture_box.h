// A picture box: shows a picture given as the bytes of an image file and gives those bytes
// back exactly as written, whether or not they could be shown.
#pragma once

#include <memory>

#include <QIcon>
#include <QWidget>

#include "text/text.h"

namespace brenvik {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  enum class Mode {
    TopLeft,  // natural size from the top-left corner, cut at the box's edges
    Stretch,  // scaled to exactly the box's size, proportions not kept
  };

  explicit PictureBox(Mode mode, QWidget* parent = nullptr);
  ~PictureBox() override;

  // Stores a copy of `bytes` and shows what they decode to (BMP, JPEG, ICO, CUR, GIF, PCX),
  // or nothing. Never fails.
  void SetPicture(const Bytes& bytes);
  // Exactly the bytes of the last SetPicture; empty if none.
  [[nodiscard]] const Bytes& Picture() const;
  [[nodiscard]] Mode DisplayMode() const;
  // True while a decoded picture is shown.
  [[nodiscard]] bool HasShownPicture() const;

 signals:
  // The left mouse button went down over the box.
  void LeftButtonPressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Shown;
  Mode mode_;
  Bytes stored_;
  std::unique_ptr<Shown> shown_;
};

// Every image of an ICO file as one icon (for a window's title bar and task bar); an empty
// icon if the bytes are no ICO file Qt can read.
[[nodiscard]] QIcon IconFromIcoFile(const Bytes& ico);

}  // namespace brenvik
