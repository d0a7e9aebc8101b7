#include "app/theme.h"

#include <QApplication>
#include <QFrame>
#include <QLinearGradient>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace brenvik {
namespace {

// The colours of one scheme. `frame` is the fixed frame colour of bordered edit boxes and
// opened lists; the rest follow the classic look of the same name.
struct Scheme {
  QColor frame;
  QColor face;          // window, labels, group boxes, button face
  QColor buttonBorder;  // outline of push buttons and of the list's arrow button
  QColor buttonBottom;  // lower end of the push button's gradient
  QColor ring;          // inner line of the default or focused button
  QColor hot;           // inner line while the mouse is over a button
  QColor highlight;     // selected entry of a list, selected text
};

Scheme SchemeColours(int scheme) {
  switch (scheme) {
    case 1:
      return {{123, 158, 189}, {236, 233, 216}, {0, 60, 116}, {214, 208, 197},
              {105, 130, 238}, {248, 179, 48}, {49, 106, 197}};
    case 2:
      return {{164, 185, 127}, {236, 233, 216}, {55, 98, 6}, {207, 216, 175},
              {174, 200, 125}, {250, 199, 120}, {147, 160, 112}};
    default:
      return {{198, 197, 215}, {224, 223, 227}, {21, 66, 139}, {205, 205, 216},
              {156, 157, 185}, {255, 198, 72}, {178, 180, 191}};
  }
}

class ThemeStyle : public QProxyStyle {
 public:
  explicit ThemeStyle(int scheme)
      : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), s_(SchemeColours(scheme)) {}

  QPalette standardPalette() const override {
    QPalette pal = QProxyStyle::standardPalette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
      pal.setColor(group, QPalette::Window, s_.face);
      pal.setColor(group, QPalette::Button, s_.face);
      pal.setColor(group, QPalette::Base, Qt::white);
      pal.setColor(group, QPalette::WindowText, Qt::black);
      pal.setColor(group, QPalette::ButtonText, Qt::black);
      pal.setColor(group, QPalette::Text, Qt::black);
      pal.setColor(group, QPalette::Highlight, s_.highlight);
      pal.setColor(group, QPalette::HighlightedText, Qt::white);
      pal.setColor(group, QPalette::Light, s_.face.lighter(112));
      pal.setColor(group, QPalette::Midlight, s_.face.lighter(105));
      pal.setColor(group, QPalette::Mid, s_.face.darker(130));
      pal.setColor(group, QPalette::Dark, s_.face.darker(160));
    }
    pal.setColor(QPalette::Disabled, QPalette::Window, s_.face);
    pal.setColor(QPalette::Disabled, QPalette::Button, s_.face);
    return pal;
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    // Edit boxes have a plain one-pixel border.
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QLineEdit*>(widget)) return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    switch (hint) {
      case SH_ComboBox_Popup:  // a plain list that opens below the box, not a menu
        return 0;
      case SH_ComboBox_PopupFrameStyle:
        return QFrame::Box | QFrame::Plain;
      case SH_GroupBox_TextLabelColor:
        return option ? int(option->palette.color(QPalette::WindowText).rgba())
                      : int(QColor(Qt::black).rgba());
      default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    switch (element) {
      case PE_PanelLineEdit: {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
        if (frame && frame->lineWidth > 0) drawPrimitive(PE_FrameLineEdit, option, painter, widget);
        return;
      }
      case PE_FrameLineEdit:
        FrameRect(painter, option->rect, s_.frame);
        return;
      case PE_PanelButtonCommand:
        DrawButton(painter, option);
        return;
      case PE_FrameDefaultButton:
        return;  // the default button shows it by its inner ring
      case PE_FrameGroupBox: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(s_.frame, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter->restore();
        return;
      }
      default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    // The frame of the opened list of a drop-down list.
    if (element == CE_ShapedFrame && widget && widget->inherits("QComboBoxPrivateContainer")) {
      FrameRect(painter, option->rect, s_.frame);
      return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (control == CC_ComboBox) {
      if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
        DrawCombo(painter, combo, widget);
        return;
      }
    }
    if (control == CC_GroupBox) {
      if (const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(option)) {
        DrawGroupBox(painter, group, widget);
        return;
      }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }

 private:
  static void FrameRect(QPainter* painter, const QRect& rect, const QColor& colour) {
    painter->save();
    painter->setPen(colour);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
  }

  void DrawButton(QPainter* painter, const QStyleOption* option) const {
    const bool down = option->state & (State_Sunken | State_On);
    const bool hot = (option->state & State_MouseOver) && (option->state & State_Enabled);
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    const bool ringed = (option->state & State_HasFocus) ||
                        (button && (button->features & QStyleOptionButton::DefaultButton));
    const QRectF outer = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    if (down) {
      fill.setColorAt(0, s_.buttonBottom.darker(108));
      fill.setColorAt(1, s_.face.lighter(104));
    } else {
      fill.setColorAt(0, Qt::white);
      fill.setColorAt(0.85, s_.face.lighter(103));
      fill.setColorAt(1, s_.buttonBottom);
    }
    painter->setPen(QPen(s_.buttonBorder, 1));
    painter->setBrush(fill);
    painter->drawRoundedRect(outer, 3, 3);
    if (hot || ringed) {
      painter->setPen(QPen(hot ? s_.hot : s_.ring, 1.5));
      painter->setBrush(Qt::NoBrush);
      painter->drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    }
    painter->restore();
  }

  void DrawCombo(QPainter* painter, const QStyleOptionComboBox* combo,
                 const QWidget* widget) const {
    painter->save();
    painter->fillRect(combo->rect, combo->palette.brush(QPalette::Base));
    FrameRect(painter, combo->rect, s_.frame);

    QRect arrow = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
    arrow = arrow.intersected(combo->rect.adjusted(1, 1, -1, -1));
    QStyleOptionButton face;
    face.QStyleOption::operator=(*combo);
    face.rect = arrow;
    face.state &= ~(State_HasFocus);
    if (combo->activeSubControls & SC_ComboBoxArrow && combo->state & State_Sunken)
      face.state |= State_Sunken;
    face.features = QStyleOptionButton::None;
    DrawButton(painter, &face);

    QStyleOption glyph = *combo;
    glyph.rect = arrow.adjusted(3, 3, -3, -3);
    glyph.palette.setColor(QPalette::ButtonText, s_.buttonBorder);
    glyph.palette.setColor(QPalette::WindowText, s_.buttonBorder);
    QProxyStyle::drawPrimitive(PE_IndicatorArrowDown, &glyph, painter, widget);

    if (combo->state & State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(*combo);
      focus.rect = subControlRect(CC_ComboBox, combo, SC_ComboBoxEditField, widget).adjusted(0, 1, 0, -1);
      focus.backgroundColor = combo->palette.color(QPalette::Base);
      QProxyStyle::drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
  }

  // The frame's top line runs through the middle of the caption, which interrupts it, as a
  // dialog group box does; the caption starts 8 pixels in.
  void DrawGroupBox(QPainter* painter, const QStyleOptionGroupBox* group,
                    const QWidget* widget) const {
    const QFontMetrics metrics = widget ? widget->fontMetrics() : group->fontMetrics;
    const bool titled = (group->subControls & SC_GroupBoxLabel) && !group->text.isEmpty();
    const QRect title(8, 0, metrics.horizontalAdvance(group->text) + 2, metrics.height());
    if (group->subControls & SC_GroupBoxFrame) {
      QStyleOptionFrame frame;
      frame.QStyleOption::operator=(*group);
      frame.rect = group->rect.adjusted(0, metrics.height() / 2, 0, 0);
      drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
    }
    if (titled) {
      painter->save();
      painter->fillRect(title.adjusted(-2, 0, 0, 0), group->palette.brush(QPalette::Window));
      painter->setPen(group->textColor.isValid() ? group->textColor
                                                  : group->palette.color(QPalette::WindowText));
      // The caption is drawn as written: an "&" is not a mnemonic.
      painter->drawText(title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, group->text);
      painter->restore();
    }
  }

  Scheme s_;
};

int g_scheme = 0;
bool g_saved = false;
QString g_originalStyle;

}  // namespace

QColor ThemeFrameColour(int scheme) {
  if (scheme < 1 || scheme > 3) return {};
  return SchemeColours(scheme).frame;
}

int ThemeScheme() { return g_scheme; }

void ThemeLook(int scheme) {
  if (!g_saved) {
    g_originalStyle = QApplication::style()->name();
    g_saved = true;
  }
  if (scheme >= 1 && scheme <= 3) {
    auto* style = new ThemeStyle(scheme);
    QApplication::setStyle(style);
    // Set explicitly: a desktop's platform theme would otherwise keep its own palette.
    QApplication::setPalette(style->standardPalette());
    g_scheme = scheme;
    return;
  }
  if (g_scheme == 0) return;
  QStyle* original = QStyleFactory::create(g_originalStyle);
  if (!original) original = QStyleFactory::create(QStringLiteral("Fusion"));
  QApplication::setStyle(original);
  QApplication::setPalette(QPalette());  // nothing set: every colour from the style or desktop
  g_scheme = 0;
}

}  // namespace brenvik
