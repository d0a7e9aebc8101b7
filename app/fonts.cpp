#include "app/fonts.h"

#include <QApplication>
#include <QStringList>

namespace brenvik::fonts {
namespace {

QFont FormFont(std::string_view face, int pixelHeight, QFont::Weight weight) {
  QFont font(FaceName(face));
  font.setPixelSize(pixelHeight);
  font.setWeight(weight);
  return font;
}

}  // namespace

QString FaceName(std::string_view face) { return QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())); }

QStringList FaceNames(std::span<const std::string_view> faces) {
  QStringList out;
  for (std::string_view face : faces) out.append(FaceName(face));
  return out;
}

void InstallSubstitutes() {
  // Linux has neither face; without help both fall back to some sans face.
  static const bool installed = [] {
    QFont::insertSubstitutions(FaceName(kKaiFace), FaceNames(kKaiSubstitutes));
    QFont::insertSubstitutions(FaceName(kHeiFace), FaceNames(kHeiSubstitutes));
    // The default GUI font keeps the platform's face for Latin text; Chinese in it comes
    // from a Hei face rather than from whichever Chinese face the system sorts first.
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) families.append(font.family());
    if (!families.contains(FaceName(kChineseUiFace))) families.append(FaceName(kChineseUiFace));
    font.setFamilies(families);
    QApplication::setFont(font);
    return true;
  }();
  (void)installed;
}

QFont Font1() { return FormFont(kKaiFace, 12, QFont::Bold); }
QFont Font2() { return FormFont(kKaiFace, 14, QFont::Bold); }
QFont Font3() { return FormFont(kHeiFace, 12, QFont::Normal); }

QFont DefaultFont() {
  const QFont app = QApplication::font();
  QFont font(app.family());
  font.setFamilies(app.families());
  if (app.pixelSize() > 0)
    font.setPixelSize(app.pixelSize());
  else
    font.setPointSizeF(app.pointSizeF());
  font.setWeight(app.weight());
  font.setItalic(app.italic());
  return font;
}

}  // namespace brenvik::fonts
