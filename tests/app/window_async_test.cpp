// The window while a query runs: it never waits for the network. The real window against the
// sample site answering every request after 300 ms, and against a server that never answers.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

#include <atomic>
#include <memory>

#include "app/label.h"
#include "app/main_window.h"
#include "lookup/downloads.h"
#include "net/page_fetch_internal.h"
#include "tests/support/ports.h"
#include "tests/support/sample_site_process.h"

namespace {

// The bounds are the window's promises in a normal build; a sanitizer slows every step down
// (the first conversion on the GUI thread alone takes over 100 ms under ThreadSanitizer), so
// there they only keep their order of magnitude.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr qint64 kSlowdown = 10;
#else
constexpr qint64 kSlowdown = 1;
#endif

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A server that takes connections into its queue and never answers them.
class SilentServer {
 public:
  SilentServer() : fd_(brenvik::testing::ListenOnLoopback(&port_, 64)) {}
  ~SilentServer() { ::close(fd_); }
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  int port_ = 0;
  int fd_ = -1;
};

// The real downloads, counting the detail-page requests made through them.
struct CountingDownloads : brenvik::Downloads {
  CountingDownloads(const std::atomic<bool>* cancel, std::atomic<int>& pages) : real(cancel), pages(pages) {}
  Ticket Start(const brenvik::Text& address) override {
    if (address.find("/playerDetail.php") != std::string::npos) ++pages;
    return real.Start(address);
  }
  brenvik::Bytes Take(Ticket ticket) override { return real.Take(ticket); }
  brenvik::NetworkDownloads real;
  std::atomic<int>& pages;
};

// The longest wait between two ticks of a 10 ms timer on the GUI thread.
class GapWatch {
 public:
  GapWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.elapsed();
      longest_ = std::max(longest_, now - last_);
      last_ = now;
    });
    clock_.start();
    timer_.start(10);
  }
  qint64 Longest() const { return longest_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
};

}  // namespace

class WindowAsyncTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    site_ = std::make_unique<brenvik::testing::SampleSiteProcess>(BRENVIK_SAMPLE_SITE,
                                                                  brenvik::testing::SampleSiteOptions{.latencyMs = 300});
    QVERIFY(site_->Up());
  }

  void cleanupTestCase() { site_.reset(); }

  void queryRunsWhileTheWindowGoesOn() {
    const brenvik::Text origin = site_->Origin();
    std::atomic<int> pages{0};
    brenvik::MainWindow window(brenvik::Site{origin, origin + brenvik::kPromoPath},
                               [&pages](const std::atomic<bool>* cancel) -> std::unique_ptr<brenvik::Downloads> {
                                 return std::make_unique<CountingDownloads>(cancel, pages);
                               });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* button = window.findChild<QPushButton*>(U("按钮1"));
    auto* name = window.findChild<QLineEdit*>(U("编辑框1"));
    auto* status = window.findChild<brenvik::Label*>(U("标签6"));
    auto* title = window.findChild<brenvik::Label*>(U("标签4"));
    name->setFocus();
    QSignalSpy finished(&window.Runner(), &brenvik::QueryRunner::QueryFinished);

    GapWatch gaps;
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(name, Qt::Key_Return);  // Enter in the name box queries
    QVERIFY2(clock.elapsed() < 20 * kSlowdown, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(window.QueryRunning());
    QVERIFY(!button->isEnabled());
    QCOMPARE(window.cursor().shape(), Qt::BusyCursor);

    // Clicks, Space and Enter meanwhile start nothing and queue nothing.
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_Return);
    QVERIFY(finished.wait(5000));
    const qint64 lastWrite = clock.elapsed();
    QVERIFY2(lastWrite < 1200 * kSlowdown, qPrintable(QString::number(lastWrite)));
    QVERIFY2(gaps.Longest() < 50 * kSlowdown, qPrintable(QString::number(gaps.Longest())));

    QCOMPARE(status->Caption(), U("恭喜，以查询到结果！BY：Torvane"));
    QCOMPARE(title->Caption(), U("超凡大师"));
    QVERIFY(button->isEnabled());
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(QApplication::focusWidget(), name);  // where it was when the query started
    QTest::qWait(400);  // a queued second query would have asked for the page by now
    QCOMPARE(pages.load(), 1);
    QCOMPARE(finished.count(), 1);
  }

  void windowShowsAtOnceWhenThePictureServerNeverAnswers() {
    brenvik::detail::FetchLimits limits;
    limits.stallTimeMs = 1000;  // the query's own promotional download gives up after a second
    brenvik::detail::ScopedFetchLimits scoped(limits);
    SilentServer images;
    const brenvik::Text origin = site_->Origin();
    brenvik::MainWindow window(brenvik::Site{origin, images.Origin() + brenvik::kPromoPath});
    QElapsedTimer clock;
    clock.start();
    window.OnWindowCreated();
    window.show();
    QVERIFY2(clock.elapsed() < 250 * kSlowdown, qPrintable(QString::number(clock.elapsed())));

    QSignalSpy finished(&window.Runner(), &brenvik::QueryRunner::QueryFinished);
    QSignalSpy promoShown(&window.Runner(), &brenvik::QueryRunner::PromoShown);
    QTest::mouseClick(window.findChild<QPushButton*>(U("按钮1")), Qt::LeftButton);
    QVERIFY(finished.wait(5000));
    QCOMPARE(window.findChild<brenvik::Label*>(U("标签4"))->Caption(), U("超凡大师"));
    QCOMPARE(window.findChild<brenvik::Label*>(U("标签6"))->Caption(), U("恭喜，以查询到结果！BY：Torvane"));
    // The start-up download gives up too; its picture is not written over the query's.
    const brenvik::Bytes avatar = window.Picture("图片框1");
    QTest::qWait(1200);
    QCOMPARE(promoShown.count(), 0);
    QCOMPARE(window.Picture("图片框1"), avatar);
  }

  void closingAbandonsTheDownloads_data() {
    QTest::addColumn<bool>("duringQuery");
    QTest::newRow("during a query") << true;
    QTest::newRow("during the start-up download") << false;
  }
  void closingAbandonsTheDownloads() {
    QFETCH(bool, duringQuery);
    SilentServer silent;
    auto window = std::make_unique<brenvik::MainWindow>(
        brenvik::Site{silent.Origin(), silent.Origin() + brenvik::kPromoPath});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (duringQuery) {
      QTest::mouseClick(window->findChild<QPushButton*>(U("按钮1")), Qt::LeftButton);
      QVERIFY(window->QueryRunning());
    } else {
      window->OnWindowCreated();
    }
    QTest::qWait(100);  // the requests are out and waiting
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(window.get(), Qt::Key_Escape);  // Esc closes, as at any other time
    QVERIFY(!window->isVisible());
    window.reset();  // waits for the workers; what they posted is dropped
    QCoreApplication::processEvents();
    QVERIFY2(clock.elapsed() < 500 * kSlowdown, qPrintable(QString::number(clock.elapsed())));
  }

 private:
  std::unique_ptr<brenvik::testing::SampleSiteProcess> site_;
};

QTEST_MAIN(WindowAsyncTest)
#include "window_async_test.moc"
