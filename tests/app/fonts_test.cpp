// The window's font substitutions and the fontconfig file the program ships say the same:
// the faces the form asks for, the installed faces for each, in order, and the Chinese face
// of the default GUI font.
#include <QApplication>
#include <QFile>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>

#include "app/fonts.h"

namespace {

QString Q(std::string_view face) { return brenvik::fonts::FaceName(face); }
QStringList Q(std::span<const std::string_view> faces) { return brenvik::fonts::FaceNames(faces); }

// What the file says: each alias's family and its preferred faces, and the faces the
// <match> rules prepend.
struct Conf {
  std::map<QString, QStringList> prefer;
  QStringList prepended;
};

Conf ReadConf(const QString& path) {
  Conf conf;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return conf;
  QXmlStreamReader xml(&file);
  QString alias;
  QStringList elements;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      elements.append(xml.name().toString());
      if (xml.name() == u"alias") alias.clear();
    } else if (xml.isEndElement()) {
      elements.removeLast();
    } else if (xml.isCharacters() && !xml.isWhitespace() && elements.size() >= 2) {
      const QString text = xml.text().toString().trimmed();
      const QString parent = elements[elements.size() - 2];
      if (elements.last() == u"family" && parent == u"alias") alias = text;
      if (elements.last() == u"family" && parent == u"prefer") conf.prefer[alias].append(text);
      if (elements.last() == u"string" && parent == u"edit") conf.prepended.append(text);
    }
  }
  if (xml.hasError()) qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
  return conf;
}

}  // namespace

class FontsTest : public QObject {
  Q_OBJECT

 private slots:
  void fontconfigFileNamesTheSameFaces() {
    const Conf conf = ReadConf(QStringLiteral(BRENVIK_FONTS_CONF));
    QCOMPARE(conf.prefer.size(), std::size_t{2});
    QCOMPARE(conf.prefer.at(Q(brenvik::fonts::kKaiFace)), Q(brenvik::fonts::kKaiSubstitutes));
    QCOMPARE(conf.prefer.at(Q(brenvik::fonts::kHeiFace)), Q(brenvik::fonts::kHeiSubstitutes));
    QCOMPARE(conf.prepended, QStringList{Q(brenvik::fonts::kChineseUiFace)});
  }

  void substitutesAreInstalledOnce() {
    brenvik::fonts::InstallSubstitutes();
    brenvik::fonts::InstallSubstitutes();
    // Qt keeps substitutes in lower case.
    const auto lower = [](QStringList faces) {
      for (QString& face : faces) face = face.toLower();
      return faces;
    };
    QCOMPARE(QFont::substitutes(Q(brenvik::fonts::kKaiFace)), lower(Q(brenvik::fonts::kKaiSubstitutes)));
    QCOMPARE(QFont::substitutes(Q(brenvik::fonts::kHeiFace)), lower(Q(brenvik::fonts::kHeiSubstitutes)));
    const QStringList families = QApplication::font().families();
    QCOMPARE(families.count(Q(brenvik::fonts::kChineseUiFace)), 1);
    QCOMPARE(brenvik::fonts::Font2().family(), Q(brenvik::fonts::kKaiFace));
    QCOMPARE(brenvik::fonts::Font2().pixelSize(), 14);
    QCOMPARE(brenvik::fonts::Font3().family(), Q(brenvik::fonts::kHeiFace));
  }
};

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
