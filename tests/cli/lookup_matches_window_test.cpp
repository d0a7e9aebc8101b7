// brenvik-lookup against the real window, both on the same sample site: for each of the
// site's players and a name it does not know, the JSON's pieces and the text's lines are
// what the window's labels and picture boxes show for the same query.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <nlohmann/json.hpp>

#include "app/label.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "net/page_fetch.h"
#include "tests/cli/program_run.h"
#include "tools/sample-site/sample_site.h"

namespace {

using nlohmann::json;

QString Q(const json& value) { return QString::fromStdString(value.get<std::string>()); }

// The non-empty lines of a caption, each with `heading` in front.
QStringList Lines(const QString& caption, const QString& heading = {}) {
  QStringList out;
  for (const QString& line : caption.split(QStringLiteral("\r\n"))) {
    if (!line.isEmpty()) out << heading + line;
  }
  return out;
}

}  // namespace

class LookupMatchesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(site_.Start()); }

  void sameAsTheWindow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("games");
    QTest::newRow("five games") << QStringLiteral("青石过客R2") << true << 5;
    QTest::newRow("animated avatar") << QStringLiteral("疾风之影") << true << 5;
    QTest::newRow("two games") << QStringLiteral("新来的小兵") << true << 2;
    QTest::newRow("unknown name") << QStringLiteral("没有这个人") << false << 0;
  }

  void sameAsTheWindow() {
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(int, games);

    // The window's query.
    const std::string origin = site_.Origin();
    brenvik::MainWindow window(brenvik::SiteAt(origin, origin));
    window.OnWindowCreated();
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("编辑框1"))->setText(name);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);
    const auto label = [&](const QString& control) {
      return window.findChild<brenvik::Label*>(control);
    };
    const auto caption = [&](const QString& control) { return label(control)->Caption(); };
    const auto picture = [&](const QString& box) { return window.findChild<brenvik::PictureBox*>(box)->Picture(); };
    // Every caption of a query is written at once, the status line first.
    QTRY_VERIFY_WITH_TIMEOUT(!caption(QStringLiteral("标签6")).isEmpty(), 10000);

    // The same query from the command line.
    const std::vector<std::string> where = {"--stats-origin", origin, "--image-origin", origin};
    std::vector<std::string> arguments = where;
    arguments.push_back("--json");
    arguments.push_back(name.toStdString());
    const brenvik::testing::ProgramRun jsonRun = brenvik::testing::RunProgram(BRENVIK_LOOKUP, arguments);
    QCOMPARE(jsonRun.exitCode, found ? 0 : 1);
    const json j = json::parse(jsonRun.out);

    QCOMPARE(Q(j["name"]), name);
    QCOMPARE(Q(j["server"]), QStringLiteral("艾欧尼亚(电信一)"));
    QCOMPARE(j["found"].get<bool>(), found);
    QCOMPARE(Q(j["status"]), caption(QStringLiteral("标签6")));
    QStringList expectedLines = Lines(caption(QStringLiteral("标签6")), QStringLiteral("状态："));
    expectedLines << Lines(caption(QStringLiteral("标签3")));

    if (!found) {
      QCOMPARE(label(QStringLiteral("标签3"))->TextColour(), QColor(255, 0, 0));
      QVERIFY(j["profile"].is_null());
      QVERIFY(!j.contains("statistics"));
      QCOMPARE(j["games"].size(), std::size_t{0});
    } else {
      QCOMPARE(label(QStringLiteral("标签3"))->TextColour(), QColor(128, 0, 0));
      const json& p = j["profile"];
      QStringList heroes;
      for (const json& hero : p["heroes"]) heroes << Q(hero) + QStringLiteral("   ");
      QCOMPARE(QStringLiteral("\r\n玩家等级：") + Q(p["level"]) + QStringLiteral("级  被赞：") + Q(p["likes"]) +
                   QStringLiteral("次  战斗力：") + Q(p["combatPower"]) + QStringLiteral("\r\n\r\n最近常用英雄:") +
                   heroes.join(QString()),
               caption(QStringLiteral("标签3")));
      QCOMPARE(Q(p["powerTitle"]), caption(QStringLiteral("标签4")));
      const brenvik::Bytes avatar = brenvik::PageFetch(p["avatarUrl"].get<std::string>());
      QVERIFY(!avatar.empty());
      QVERIFY(avatar == picture(QStringLiteral("图片框1")));

      // The statistics caption is the pieces in the window's layout of 36.
      const json& s = j["statistics"];
      QCOMPARE(s.size(), std::size_t{3});
      const auto col = [&](const char* key, const QString& between) {
        return Q(s[0][key]) + between + Q(s[1][key]) + between + Q(s[2][key]);
      };
      const QString six = QStringLiteral("场      ");
      QCOMPARE(QStringLiteral("\r\n模式：    ") + col("mode", QStringLiteral("    ")) +
                   QStringLiteral("\r\n\r\n总场次：   ") + col("games", QStringLiteral("     ")) +
                   QStringLiteral("\r\n\r\n胜率:      ") + col("winRate", QStringLiteral("%      ")) +
                   QStringLiteral("%\r\n\r\n胜场:      ") + col("wins", six) + QStringLiteral("场\r\n\r\n负场：      ") +
                   col("losses", six) + QStringLiteral("场\r\n\r\n时间： ") + col("time", QStringLiteral(" ")),
               caption(QStringLiteral("标签5")));

      expectedLines << QStringLiteral("称号：") + caption(QStringLiteral("标签4"));
      expectedLines << Lines(caption(QStringLiteral("标签5")));
      QVERIFY(!j.contains("gamesNote"));
      QCOMPARE(j["games"].size(), static_cast<std::size_t>(games));
      const QStringList results = {QStringLiteral("标签7"), QStringLiteral("标签8"), QStringLiteral("标签9"),
                                   QStringLiteral("标签10"), QStringLiteral("标签11")};
      const QStringList icons = {QStringLiteral("图片框2"), QStringLiteral("图片框3"), QStringLiteral("图片框4"),
                                 QStringLiteral("图片框5"), QStringLiteral("图片框6")};
      for (int g = 0; g < 5; ++g) {
        if (g >= games) {
          QCOMPARE(caption(results[g]), QString());
          continue;
        }
        const json& game = j["games"][static_cast<std::size_t>(g)];
        QCOMPARE(Q(game["result"]), caption(results[g]));
        QVERIFY2(brenvik::PageFetch(game["iconUrl"].get<std::string>()) == picture(icons[g]), qPrintable(icons[g]));
        expectedLines << QStringLiteral("第%1场：").arg(g + 1) + caption(results[g]);
      }
    }

    // The text is the window's captions, line by line.
    arguments = where;
    arguments.push_back(name.toStdString());
    const brenvik::testing::ProgramRun textRun = brenvik::testing::RunProgram(BRENVIK_LOOKUP, arguments);
    QCOMPARE(textRun.exitCode, found ? 0 : 1);
    QCOMPARE(QString::fromStdString(textRun.out), expectedLines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
  }

 private:
  sample::SampleSite site_;
};

QTEST_MAIN(LookupMatchesWindowTest)
#include "lookup_matches_window_test.moc"
