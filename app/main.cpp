// The brenvik program: its options, the window, its created event, and the event loop.
//
// The command line is read before any application object exists, so that --help, --version
// and a bad option answer without a display.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <variant>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QStringList>

#include "app/main_window.h"
#include "lookup/site.h"
#include "tools/sample-site/sample_site.h"

#ifndef BRENVIK_VERSION
#error "BRENVIK_VERSION is set by the build"
#endif

namespace {

constexpr int kBadUsage = 2;

// Our font aliases, unless the caller chose a fontconfig file: next to the program in a
// build tree, or in the installed share directory.
void UseOurFontAliases() {
  if (std::getenv("FONTCONFIG_FILE")) return;
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  const std::filesystem::path dir = exe.parent_path();
  for (const auto& candidate : {dir / "fonts" / "brenvik-fonts.conf",
                                dir.parent_path() / "share" / "brenvik" / "brenvik-fonts.conf"}) {
    if (std::filesystem::is_regular_file(candidate, error)) {
      setenv("FONTCONFIG_FILE", candidate.c_str(), 1);
      return;
    }
  }
}

// SIGINT and SIGTERM end the program as closing the window does, so that the demo's site
// stops cleanly. The handler only writes a byte to a pipe; the event loop reads it and quits.
// The handler is in place from the start, so a signal that comes while the window is still
// being made ends the program as soon as its loop runs.
int quitPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &byte, 1);
}

void CatchStopSignals() {
  if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

void QuitOnStopSignals(QApplication& app) {
  if (quitPipe[0] < 0) return;
  auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QApplication::quit(); });
}

struct Options {
  brenvik::OriginOptions origins;
  bool demo = false;
};

void Say(std::FILE* to, const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
  std::fflush(to);
}

void Fail(const QString& message) { Say(stderr, QStringLiteral("brenvik: %1\n").arg(message)); }

// The options, or the exit code when the program ends here (help, version, bad usage).
std::variant<Options, int> ReadCommandLine(int argc, char** argv) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Looks up a player's public record on the game's statistics site: type a summoner\n"
                     "name, pick a server and press the query button (or Enter).\n"
                     "\n"
                     "Each origin is http:// or https://, a host and an optional port, e.g.\n"
                     "http://stats.example:8080."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the program's version."));
  const QCommandLineOption statsOrigin(QStringLiteral("stats-origin"),
                                       QStringLiteral("The statistics site's origin (detail pages)."),
                                       QStringLiteral("URL"));
  const QCommandLineOption imageOrigin(QStringLiteral("image-origin"),
                                       QStringLiteral("The image server's origin (the promotional picture)."),
                                       QStringLiteral("URL"));
  const QCommandLineOption demo(
      QStringLiteral("demo"),
      QStringLiteral("Run the bundled sample site inside the program, on a free loopback port, and look "
                     "players up there (青石过客R2, 疾风之影 and 新来的小兵)."));
  parser.addOptions({help, version, statsOrigin, imageOrigin, demo});

  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (!parser.parse(arguments)) {
    Fail(parser.errorText());
    return kBadUsage;
  }
  if (parser.isSet(help)) {
    // Qt names the program after the application object, which does not exist yet.
    QString text = parser.helpText();
    text = QStringLiteral("Usage: brenvik [options]") + text.mid(text.indexOf(QLatin1Char('\n')));
    text += QStringLiteral(
                "\n"
                "Environment:\n"
                "  BRENVIK_STATS_ORIGIN  The statistics site's origin when --stats-origin is not given.\n"
                "  BRENVIK_IMAGE_ORIGIN  The image server's origin when --image-origin is not given.\n"
                "With neither option nor variable, the sample site on http://127.0.0.1:%1.\n"
                "\n"
                "Exit status:\n"
                "  0  the window was closed\n"
                "  1  the window could not be created, or the demo's sample site could not start\n"
                "  2  bad usage: an unknown option or argument, or a bad origin\n")
                .arg(brenvik::kSampleSitePort);
    Say(stdout, text);
    return EXIT_SUCCESS;
  }
  if (parser.isSet(version)) {
    Say(stdout, QStringLiteral("brenvik " BRENVIK_VERSION "\n"));
    return EXIT_SUCCESS;
  }
  if (!parser.positionalArguments().isEmpty()) {
    Fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst()));
    return kBadUsage;
  }
  Options options;
  options.demo = parser.isSet(demo);
  if (parser.isSet(statsOrigin)) options.origins.statsOrigin = parser.value(statsOrigin).toStdString();
  if (parser.isSet(imageOrigin)) options.origins.imageOrigin = parser.value(imageOrigin).toStdString();
  if (options.demo && (options.origins.statsOrigin || options.origins.imageOrigin)) {
    Fail(QStringLiteral("--demo runs the sample site itself: it takes no --stats-origin or --image-origin"));
    return kBadUsage;
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::variant<Options, int> read = ReadCommandLine(argc, argv);
  if (const int* exitCode = std::get_if<int>(&read)) return *exitCode;
  const Options& options = std::get<Options>(read);

  CatchStopSignals();
  // The demo's site outlives the window: it is stopped when main returns.
  sample::SampleSite demoSite;
  brenvik::Site site;
  if (options.demo) {
    if (!demoSite.Start()) {
      Fail(QStringLiteral("the sample site could not start on 127.0.0.1"));
      return EXIT_FAILURE;
    }
    site = brenvik::SiteAt(demoSite.Origin(), demoSite.Origin());
    Say(stdout, QStringLiteral("brenvik: the sample site runs on %1/ until the window closes\n")
                    .arg(QString::fromStdString(demoSite.Origin())));
  } else {
    const brenvik::SiteChoice choice = brenvik::ChooseSite(options.origins, brenvik::ProcessEnvironment());
    if (!choice.site) {
      Fail(QString::fromStdString(choice.error));
      return kBadUsage;
    }
    site = *choice.site;
  }

  UseOurFontAliases();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brenvik"));
  QApplication::setApplicationVersion(QStringLiteral(BRENVIK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("io.github.brenvik.Brenvik"));
  QuitOnStopSignals(app);

  std::unique_ptr<brenvik::MainWindow> window;
  try {
    window = std::make_unique<brenvik::MainWindow>(site);
    (void)window->winId();  // the platform window, made now so that a failure shows here
  } catch (const std::exception&) {
    window.reset();
  }
  if (!window || !window->windowHandle()) {
    QMessageBox::critical(nullptr, QStringLiteral("Brenvik"),
                          QStringLiteral("The main window could not be created."));
    return EXIT_FAILURE;
  }
  QApplication::setWindowIcon(window->windowIcon());

  window->OnWindowCreated();
  window->CentreOnScreen();
  window->show();
  return QApplication::exec();
}
