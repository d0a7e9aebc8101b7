#include "app/label.h"

#include <QPainter>
#include <QTextLayout>

namespace brenvik {

namespace {

// The caption split at its line breaks: CR LF, a lone CR and a lone LF each end a line.
QStringList CaptionLines(const QString& caption) {
  QStringList lines;
  QString line;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i];
    if (c == u'\r' || c == u'\n') {
      lines.append(line);
      line.clear();
      if (c == u'\r' && i + 1 < caption.size() && caption[i + 1] == u'\n') ++i;
    } else {
      line.append(c);
    }
  }
  lines.append(line);
  return lines;
}

}  // namespace

Label::Label(Lines lines, QWidget* parent) : QLabel(parent), lines_(lines) {
  setTextFormat(Qt::PlainText);
  setWordWrap(lines == Lines::WordWrapped);
}

void Label::SetCaption(const QString& caption) {
  caption_ = caption;
  QLabel::setText(caption);  // kept for accessibility; the drawing is ours
  update();
}

void Label::SetTextColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void Label::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (caption_.isEmpty()) return;
  painter.setFont(font());
  painter.setPen(colour_);
  painter.setClipRect(rect());

  if (lines_ == Lines::Single) {
    // One line whatever the caption holds; no mnemonic flag, so "&" is drawn as it is.
    const QString line = CaptionLines(caption_).join(QString());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    return;
  }

  const QFontMetrics metrics(font());
  const int lineHeight = metrics.height();
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WordWrap);
  qreal y = 0;
  for (const QString& paragraph : CaptionLines(caption_)) {
    if (y >= height()) break;
    if (paragraph.isEmpty()) {
      y += lineHeight;
      continue;
    }
    QTextLayout layout(paragraph, font(), this);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width());
      line.setPosition(QPointF(0, y));
      y += lineHeight;
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
  }
}

}  // namespace brenvik
