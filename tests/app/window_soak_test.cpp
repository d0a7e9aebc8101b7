// A thousand queries in a row through the real window against the sample site: every one
// ends with the right captions, the process keeps its memory and its file descriptors.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <fstream>
#include <string>

#include "app/label.h"
#include "app/main_window.h"
#include "tests/support/sample_site_process.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Resident memory of this process, in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

int OpenDescriptors() { return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size()); }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryMeasurable = false;  // the sanitizer holds freed memory back on purpose
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif
#else
constexpr bool kMemoryMeasurable = true;
#endif

struct Expected {
  const char* name;
  const char* title;      // 标签4
  const char* firstGame;  // 标签7
};

}  // namespace

class WindowSoakTest : public QObject {
  Q_OBJECT

 private slots:
  void thousandQueries() {
    brenvik::testing::SampleSiteProcess site(BRENVIK_SAMPLE_SITE);
    QVERIFY(site.Up());

    const brenvik::Text origin = site.Origin();
    brenvik::MainWindow window(brenvik::Site{origin, origin + brenvik::kPromoPath});
    window.show();
    auto* name = window.findChild<QLineEdit*>(U("编辑框1"));
    auto* button = window.findChild<QPushButton*>(U("按钮1"));
    auto caption = [&](const char* label) { return window.findChild<brenvik::Label*>(U(label))->Caption(); };
    QSignalSpy finished(&window.Runner(), &brenvik::QueryRunner::QueryFinished);

    const Expected players[] = {{"青石过客R2", "超凡大师", "胜利  匹配赛 2026-12-10 "},
                                {"疾风之影", "最强王者", "胜利  排位赛 2026-12-11 "},
                                {"新来的小兵", "英勇黄铜", "失败  匹配赛 2026-12-11 "}};
    constexpr int kWarmUp = 50;
    constexpr int kQueries = 1000;
    long memoryBefore = 0;
    int descriptorsBefore = 0;
    for (int i = 0; i < kWarmUp + kQueries; ++i) {
      if (i == kWarmUp) {
        memoryBefore = ResidentKiB();
        descriptorsBefore = OpenDescriptors();
      }
      const Expected& player = players[i % 3];
      name->setText(U(player.name));
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY(finished.wait(5000));
      QCOMPARE(caption("标签6"), U("恭喜，以查询到结果！BY：Torvane"));
      QCOMPARE(caption("标签4"), U(player.title));
      QCOMPARE(caption("标签7"), U(player.firstGame));
    }
    const long grownKiB = ResidentKiB() - memoryBefore;
    qInfo("resident memory grew by %ld KiB over %d queries", grownKiB, kQueries);
    QCOMPARE(OpenDescriptors(), descriptorsBefore);
    if (kMemoryMeasurable) QVERIFY2(grownKiB <= 5 * 1024, qPrintable(QString::number(grownKiB)));
  }
};

QTEST_MAIN(WindowSoakTest)
#include "window_soak_test.moc"
