// A label of the window: its own drawing, not QLabel's. It fills its rectangle with the
// window's background colour and draws its caption over it in its text colour and font; an
// "&" shows as itself. A single-line label draws one line, left aligned and vertically
// centred, cut at the right edge, line breaks in the caption left out. A word-wrapped label
// draws from its top-left corner and starts a new line at each line break (CR LF, or a lone
// CR or LF) and wherever the next word, or the next Chinese character, would pass the right
// edge; lines below the bottom edge are cut off.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

namespace brenvik {

class Label : public QLabel {
  Q_OBJECT

 public:
  enum class Lines { Single, WordWrapped };

  explicit Label(Lines lines, QWidget* parent = nullptr);

  void SetCaption(const QString& caption);
  [[nodiscard]] QString Caption() const { return caption_; }
  void SetTextColour(const QColor& colour);
  [[nodiscard]] QColor TextColour() const { return colour_; }
  [[nodiscard]] Lines LineMode() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Lines lines_;
  QString caption_;
  QColor colour_{Qt::black};
};

}  // namespace brenvik
