// The real window against the real sample site on loopback: a click on the query button,
// then what the labels and picture boxes show, read back through Qt.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "app/label.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "lookup/not_found_picture.h"
#include "tests/support/sample_site_process.h"

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    site_ = std::make_unique<brenvik::testing::SampleSiteProcess>(BRENVIK_SAMPLE_SITE);
    QVERIFY(site_->Up());
  }

  void cleanupTestCase() { site_.reset(); }

  void foundThenNotFound() {
    const brenvik::Text origin = site_->Origin();
    brenvik::MainWindow window(brenvik::Site{origin, origin + brenvik::kPromoPath});
    QSignalSpy promoShown(&window.Runner(), &brenvik::QueryRunner::PromoShown);
    QSignalSpy finished(&window.Runner(), &brenvik::QueryRunner::QueryFinished);
    window.OnWindowCreated();
    window.show();
    auto* avatar = window.findChild<brenvik::PictureBox*>("图片框1");
    QVERIFY(avatar != nullptr);
    QVERIFY(promoShown.wait(5000));
    QVERIFY(avatar->HasShownPicture());  // the promotional picture
    const brenvik::Bytes promo = avatar->Picture();

    auto label = [&](const char* name) { return window.findChild<brenvik::Label*>(name)->Caption(); };
    QTest::mouseClick(window.findChild<QPushButton*>("按钮1"), Qt::LeftButton);
    QVERIFY(finished.wait(5000));

    QCOMPARE(label("标签6"), QStringLiteral("恭喜，以查询到结果！BY：Torvane"));
    QVERIFY(label("标签3").startsWith(QStringLiteral("\r\n玩家等级：30级  被赞：128次  战斗力：5821\r\n\r\n最近常用英雄:疾风剑客   ")));
    QCOMPARE(window.findChild<brenvik::Label*>("标签3")->TextColour(), QColor(128, 0, 0));
    QVERIFY(label("标签5").contains(QStringLiteral("胜场:      702场       57场       59场")));
    QCOMPARE(label("标签7"), QStringLiteral("胜利  匹配赛 2026-12-10 "));
    QCOMPARE(label("标签11"), QStringLiteral("失败  排位赛 2026-12-08 "));
    QCOMPARE(label("标签4"), QStringLiteral("超凡大师"));
    QVERIFY(avatar->HasShownPicture());
    QVERIFY(avatar->Picture() != promo);
    // Every hero icon decodes: JPEG, animated GIF, BMP, ICO and PCX.
    for (const char* box : {"图片框2", "图片框3", "图片框4", "图片框5", "图片框6"}) {
      QVERIFY2(window.findChild<brenvik::PictureBox*>(box)->HasShownPicture(), box);
    }

    // A name the site does not know: red message and the warning picture; the rest stays.
    window.findChild<QLineEdit*>("编辑框1")->setText(QStringLiteral("没有这个人"));
    QTest::keyClick(window.findChild<QLineEdit*>("编辑框1"), Qt::Key_Return);
    QVERIFY(finished.wait(5000));
    QCOMPARE(label("标签3"), QStringLiteral("\r\n\r\n    查无此人，请确认后再查找，谢谢！！！"));
    QCOMPARE(window.findChild<brenvik::Label*>("标签3")->TextColour(), QColor(255, 0, 0));
    QVERIFY(avatar->Picture() == brenvik::NotFoundPicture());
    QVERIFY(avatar->HasShownPicture());
    QCOMPARE(label("标签4"), QStringLiteral("超凡大师"));
    QCOMPARE(label("标签7"), QStringLiteral("胜利  匹配赛 2026-12-10 "));
  }

 private:
  std::unique_ptr<brenvik::testing::SampleSiteProcess> site_;
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
