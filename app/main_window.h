// The program's one window: a fixed frame with a close button only and its 24 controls,
// each named as in the form ("编辑框1", "标签3", "图片框1" ...) through objectName. The window
// is the lookup's Form: captions and edit texts cross it as GBK Text and are shown as
// Unicode; pictures cross it as the exact bytes of their files.
#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "app/query_runner.h"
#include "lookup/form.h"
#include "lookup/site.h"

namespace brenvik {

class MainWindow : public QWidget, public Form {
  Q_OBJECT

 public:
  // What a click of the query button runs, at once and to its end (tests).
  using QueryHandler = std::function<void(Form& form)>;
  using DownloadsFactory = QueryRunner::DownloadsFactory;

  // The author's web page, opened by a left-button press on the link icon.
  static constexpr const char* kAuthorPage = "http://brenvik.github.io/";
  // The outer size the window is made for, frame included.
  static constexpr int kOuterWidth = 541;
  static constexpr int kOuterHeight = 382;
  // The client area: the outer size less a thin dialog frame of 3 pixels a side and a
  // 26-pixel caption bar. The controls reach x = 536 and y = 352.
  static constexpr int kClientWidth = 535;
  static constexpr int kClientHeight = 353;

  // Created hidden; the query button runs the query with the real downloads, off the GUI
  // thread.
  explicit MainWindow(const Site& site, QWidget* parent = nullptr);
  // Created hidden; the query button runs the query with downloads made by `downloads`
  // (on a worker thread).
  MainWindow(const Site& site, DownloadsFactory downloads, QWidget* parent = nullptr);
  // Created hidden; the query button runs `onQuery` on the GUI thread. The promotional
  // picture still comes through the real downloads.
  MainWindow(const Site& site, QueryHandler onQuery, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The created event, run once before the window is first shown: the olive-green look on
  // and the promotional picture asked for. It returns at once; the picture is written into
  // 图片框1 when it arrives (even when the download is empty), unless a query has started
  // by then.
  void OnWindowCreated();
  // Whether a query is under way (the query button is disabled meanwhile).
  [[nodiscard]] bool QueryRunning() const;
  [[nodiscard]] QueryRunner& Runner() { return *runner_; }
  // Moves the window so that its outer size is centred on the primary screen.
  void CentreOnScreen();

  // Form
  Text EditText(std::string_view edit) const override;
  void SetEditText(std::string_view edit, const Text& text) override;
  void EditAppendText(std::string_view edit, const Text& text) override;
  void SetCaption(std::string_view label, const Text& caption) override;
  void SetTextColour(std::string_view label, std::uint32_t colour) override;
  int ComboSelection(std::string_view combo) const override;
  Text ComboItemText(std::string_view combo, int index) const override;
  Bytes Picture(std::string_view box) const override;
  void SetPicture(std::string_view box, const Bytes& bytes) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  template <typename W>
  W* Control(std::string_view name) const;
  void BuildControls();
  void WatchKeys();
  bool HandleKey(QKeyEvent* key);
  void FocusNext();
  void OnLinkIconPressed();
  void OnQueryButton();
  void OnQueryStarted();
  void OnQueryFinished();

  Site site_;
  QueryHandler onQuery_;
  QueryRunner* runner_ = nullptr;
  QPointer<QWidget> focusBeforeQuery_;
};

}  // namespace brenvik
