#include "app/main_window.h"

#include <array>
#include <limits>

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QUrl>

#include "app/fonts.h"
#include "app/gbk_qstring.h"
#include "app/label.h"
#include "app/picture_box.h"
#include "app/pictures.h"
#include "app/theme.h"
#include "lookup/form_names.h"
#include "lookup/downloads.h"

namespace brenvik {

namespace {

using fonts::DefaultFont;
using fonts::Font1;
using fonts::Font2;
using fonts::Font3;

QColor Rgb(int r, int g, int b) { return QColor::fromRgb(r, g, b); }

// A colour value 0x00BBGGRR (red in the low byte).
QColor FromColourValue(std::uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// Top to bottom among siblings. Every control is spelled here as in the form, named in
// lookup/form_names.h or not, like the table in BuildControls.
constexpr std::array<const char*, 12> kWindowStacking = {
    "图片框7", "标签7", "标签11", "标签10", "标签9", "标签8",
    "组合框1", "按钮1", "标签2",  "标签1",  "分组框1", "编辑框1"};
constexpr std::array<const char*, 7> kGroupStacking = {
    "标签6", "分组框2", "标签5", "编辑框2", "标签4", "标签3", "图片框1"};

constexpr std::array<std::string_view, 3> kFocusOrder = {names::kNameBox, names::kQueryButton, names::kServerList};

// The opened list reaches this far below the top edge of the box.
constexpr int kListReach = 160;

// Entries one pixel taller than the platform's.
class TallerItems : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rheight() += 1;
    return size;
  }
};

// The drop-down list: list only, and its list opens below the box to kListReach in all.
class ServerList : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void showPopup() override {
    QComboBox::showPopup();
    QWidget* popup = view()->window();
    if (popup == window()) return;
    const QPoint below = mapToGlobal(QPoint(0, height()));
    popup->setGeometry(below.x(), below.y(), width(), kListReach - height());
    view()->scrollTo(view()->currentIndex());
  }
};

template <typename W>
W* Named(W* widget, const char* name, QWidget* parent, const QRect& place) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setParent(parent);
  widget->setGeometry(place);
  return widget;
}

Label* MakeLabel(QWidget* parent, const char* name, const QRect& place, const char* caption,
                 const QColor& colour, const QFont& font,
                 Label::Lines lines = Label::Lines::Single) {
  auto* label = Named(new Label(lines), name, parent, place);
  label->SetCaption(QString::fromUtf8(caption));
  label->SetTextColour(colour);
  label->setFont(font);
  return label;
}

Label* MakePlainLabel(QWidget* parent, const char* name, const QRect& place) {
  return MakeLabel(parent, name, place, "", Qt::black, DefaultFont());
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& place, const char* text) {
  auto* edit = Named(new QLineEdit, name, parent, place);
  edit->setMaxLength(std::numeric_limits<int>::max());
  edit->setFont(DefaultFont());
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  edit->setPalette(pal);
  edit->setText(QString::fromUtf8(text));
  edit->setCursorPosition(0);
  return edit;
}

QComboBox* MakeServerList(QWidget* parent, const char* name, const QRect& place) {
  auto* list = Named(new ServerList, name, parent, place);
  list->setEditable(false);
  list->setFont(Font3());
  list->setItemDelegate(new TallerItems(list));
  QPalette pal = list->palette();
  for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
    pal.setColor(role, Rgb(0, 96, 192));
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
    pal.setColor(role, Rgb(0, 255, 255));
  list->setPalette(pal);
  for (std::string_view server : names::kServerEntries)
    list->addItem(QString::fromUtf8(server.data(), static_cast<qsizetype>(server.size())));
  list->setCurrentIndex(0);
  list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return list;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place, const char* caption,
                        const QFont& font) {
  auto* button = Named(new QPushButton, name, parent, place);
  button->setText(QString::fromUtf8(caption));
  button->setFont(font);
  button->setDefault(true);
  return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QRect& place, const char* caption,
                     const QColor& colour, const QFont& font) {
  auto* group = Named(new QGroupBox, name, parent, place);
  group->setTitle(QString::fromUtf8(caption));
  group->setAlignment(Qt::AlignLeft);
  group->setFont(font);
  QPalette pal = group->palette();
  pal.setColor(QPalette::WindowText, colour);
  pal.setColor(QPalette::Text, colour);
  group->setPalette(pal);
  return group;
}

PictureBox* MakePicture(QWidget* parent, const char* name, const QRect& place,
                        PictureBox::Mode mode) {
  return Named(new PictureBox(mode), name, parent, place);
}

void Restack(QWidget* parent, const char* const* top, std::size_t count) {
  // Raising bottom-up leaves the first name on top.
  for (std::size_t i = count; i-- > 0;) {
    if (auto* w = parent->findChild<QWidget*>(QString::fromUtf8(top[i]), Qt::FindDirectChildrenOnly))
      w->raise();
  }
}

}  // namespace

namespace {

std::unique_ptr<Downloads> RealDownloads(const std::atomic<bool>* cancel) {
  return std::make_unique<NetworkDownloads>(cancel);
}

}  // namespace

MainWindow::MainWindow(const Site& site, QWidget* parent) : MainWindow(site, DownloadsFactory(RealDownloads), parent) {}

MainWindow::MainWindow(const Site& site, QueryHandler onQuery, QWidget* parent)
    : MainWindow(site, DownloadsFactory(RealDownloads), parent) {
  onQuery_ = std::move(onQuery);
}

MainWindow::MainWindow(const Site& site, DownloadsFactory downloads, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      site_(site),
      runner_(new QueryRunner(*this, site, std::move(downloads), this)) {
  connect(runner_, &QueryRunner::QueryStarted, this, &MainWindow::OnQueryStarted);
  connect(runner_, &QueryRunner::QueryFinished, this, &MainWindow::OnQueryFinished);
  fonts::InstallSubstitutes();
  setWindowTitle(QStringLiteral("Brenvik by:Torvane"));
  setWindowIcon(IconFromIcoFile(ProgramIcon()));
  setFixedSize(kClientWidth, kClientHeight);
  BuildControls();
  WatchKeys();
}

// The runner goes first: it stops its workers before any control is destroyed.
MainWindow::~MainWindow() { delete runner_; }

void MainWindow::BuildControls() {
  using Lines = Label::Lines;
  using Mode = PictureBox::Mode;
  QWidget* const w = this;

  MakeLabel(w, "标签1", {8, 8, 72, 24}, "召唤师名称：", Rgb(255, 0, 0), Font1());
  MakeEdit(w, "编辑框1", {80, 8, 152, 24}, "青石过客R2");
  MakeLabel(w, "标签2", {248, 8, 64, 24}, "所在大区：", Rgb(0, 96, 192), Font1());
  QComboBox* servers = MakeServerList(w, "组合框1", {316, 11, 132, 20});
  QPushButton* query = MakeButton(w, "按钮1", {456, 8, 56, 24}, "查询", Font1());
  PictureBox* link = MakePicture(w, "图片框7", {512, 48, 24, 24}, Mode::Stretch);
  MakePlainLabel(w, "标签7", {392, 136, 168, 24});
  MakePlainLabel(w, "标签8", {392, 176, 168, 24});
  MakePlainLabel(w, "标签9", {392, 216, 168, 24});
  MakePlainLabel(w, "标签10", {392, 256, 168, 24});
  MakePlainLabel(w, "标签11", {392, 296, 168, 24});
  QGroupBox* info = MakeGroup(w, "分组框1", {7, 40, 505, 312}, "查询信息", Rgb(255, 128, 0), Font2());
  MakePicture(info, "图片框1", {10, 17, 60, 60}, Mode::Stretch);
  MakeLabel(info, "标签3", {81, 8, 416, 80}, "", Rgb(128, 0, 0), Font2(), Lines::WordWrapped);
  QGroupBox* games = MakeGroup(info, "分组框2", {345, 80, 187, 200}, "     最近战绩查询", Qt::black, DefaultFont());
  MakePicture(games, "图片框2", {0, 16, 24, 24}, Mode::TopLeft);
  MakePicture(games, "图片框3", {0, 54, 24, 24}, Mode::TopLeft);
  MakePicture(games, "图片框4", {0, 96, 24, 24}, Mode::TopLeft);
  MakePicture(games, "图片框5", {0, 136, 24, 24}, Mode::TopLeft);
  MakePicture(games, "图片框6", {0, 176, 24, 24}, Mode::TopLeft);
  MakeLabel(info, "标签5", {7, 97, 354, 179}, "", Rgb(128, 0, 128), Font2(), Lines::WordWrapped);
  MakePlainLabel(info, "标签4", {331, 288, 200, 16});
  MakePlainLabel(info, "标签6", {1, 288, 248, 24});
  MakeEdit(info, "编辑框2", {1, 312, 16, 24}, "")->hide();

  Restack(this, kWindowStacking.data(), kWindowStacking.size());
  Restack(info, kGroupStacking.data(), kGroupStacking.size());

  link->setCursor(Qt::ArrowCursor);
  link->SetPicture(LinkIcon());
  connect(link, &PictureBox::LeftButtonPressed, this, &MainWindow::OnLinkIconPressed);
  connect(query, &QPushButton::clicked, this, &MainWindow::OnQueryButton);

  for (QWidget* child : findChildren<QWidget*>()) {
    if (child->window() != this) continue;  // the opened list keeps its own focus
    if (!qobject_cast<QLineEdit*>(child) && !qobject_cast<QPushButton*>(child) &&
        !qobject_cast<QComboBox*>(child))
      child->setFocusPolicy(Qt::NoFocus);
  }
  setTabOrder(Control<QWidget>(kFocusOrder[0]), query);
  setTabOrder(query, servers);
  Control<QWidget>(kFocusOrder[0])->setFocus();
}

void MainWindow::WatchKeys() {
  // The window sees every key of its own controls first; the opened list of the
  // drop-down list is a window of its own and keeps its keys.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>())
    if (child->window() == this) child->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::HandleKey(QKeyEvent* key) {
  if (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) return false;
  switch (key->key()) {
    case Qt::Key_Tab:
      FocusNext();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (auto* query = Control<QPushButton>(names::kQueryButton); query && query->isEnabled()) query->click();
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    default:
      return false;
  }
}

void MainWindow::FocusNext() {
  std::array<QWidget*, kFocusOrder.size()> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = Control<QWidget>(kFocusOrder[i]);
  std::size_t current = order.size() - 1;  // no control of the order focused: start at the first
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i] && order[i]->hasFocus()) current = i;
  for (std::size_t step = 1; step <= order.size(); ++step) {
    QWidget* next = order[(current + step) % order.size()];
    if (next && next->isVisible() && next->isEnabled()) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void MainWindow::OnLinkIconPressed() {
  // The result is not used: no browser, no message.
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(kAuthorPage)));
}

void MainWindow::OnQueryButton() {
  if (onQuery_) {
    onQuery_(*this);
    return;
  }
  runner_->StartQuery();  // refused while one runs: nothing is queued
}

void MainWindow::OnQueryStarted() {
  focusBeforeQuery_ = QApplication::focusWidget();
  Control<QPushButton>(names::kQueryButton)->setEnabled(false);
  setCursor(Qt::BusyCursor);
}

void MainWindow::OnQueryFinished() {
  Control<QPushButton>(names::kQueryButton)->setEnabled(true);
  unsetCursor();
  if (focusBeforeQuery_ && focusBeforeQuery_->window() == this) focusBeforeQuery_->setFocus(Qt::OtherFocusReason);
  focusBeforeQuery_.clear();
}

bool MainWindow::QueryRunning() const { return runner_->Busy(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program: what is still downloading is abandoned.
  runner_->Cancel();
  QWidget::closeEvent(event);
}

void MainWindow::OnWindowCreated() {
  ThemeLook(2);
  runner_->StartPromo();
}

void MainWindow::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - kOuterWidth) / 2, area.y() + (area.height() - kOuterHeight) / 2);
}

template <typename W>
W* MainWindow::Control(std::string_view name) const {
  return findChild<W*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

Text MainWindow::EditText(std::string_view edit) const {
  const auto* box = Control<QLineEdit>(edit);
  return box ? GbkFromQString(box->text()) : Text();
}

void MainWindow::SetEditText(std::string_view edit, const Text& text) {
  if (auto* box = Control<QLineEdit>(edit)) {
    box->setText(QStringFromGbk(text));
    box->setCursorPosition(0);
  }
}

void MainWindow::EditAppendText(std::string_view edit, const Text& text) {
  if (auto* box = Control<QLineEdit>(edit)) {
    box->end(false);
    box->insert(QStringFromGbk(text));
  }
}

void MainWindow::SetCaption(std::string_view label, const Text& caption) {
  if (auto* target = Control<Label>(label)) target->SetCaption(QStringFromGbk(caption));
}

void MainWindow::SetTextColour(std::string_view label, std::uint32_t colour) {
  if (auto* target = Control<Label>(label)) target->SetTextColour(FromColourValue(colour));
}

int MainWindow::ComboSelection(std::string_view combo) const {
  const auto* list = Control<QComboBox>(combo);
  return list ? list->currentIndex() : -1;
}

Text MainWindow::ComboItemText(std::string_view combo, int index) const {
  const auto* list = Control<QComboBox>(combo);
  if (!list || index < 0 || index >= list->count()) return {};
  return GbkFromQString(list->itemText(index));
}

Bytes MainWindow::Picture(std::string_view box) const {
  const auto* target = Control<PictureBox>(box);
  return target ? target->Picture() : Bytes();
}

void MainWindow::SetPicture(std::string_view box, const Bytes& bytes) {
  if (auto* target = Control<PictureBox>(box)) target->SetPicture(bytes);
}

}  // namespace brenvik
