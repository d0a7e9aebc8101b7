// The brenvik program: the window, its created event, and the event loop.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QMessageBox>

#include "app/main_window.h"
#include "lookup/site.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  UseOurFontAliases();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brenvik"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.brenvik.Brenvik"));

  std::unique_ptr<brenvik::MainWindow> window;
  try {
    window = std::make_unique<brenvik::MainWindow>(brenvik::DefaultSite());
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
