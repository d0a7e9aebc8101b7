// The main window: its controls as the form describes them, the keyboard, label drawing
// checked on grabbed pixels, the themed look, and the Form boundary in GBK.
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <httplib.h>

#include "app/label.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/pictures.h"
#include "app/theme.h"
#include "text/codepage.h"

using brenvik::Gbk;
using brenvik::Label;
using brenvik::MainWindow;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Bands of consecutive pixel rows that hold something other than the background.
int TextRows(const QImage& image) {
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < image.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < image.width() && !ink; ++x) {
      const QRgb p = image.pixel(x, y);
      ink = std::abs(qGray(p) - qGray(background)) > 60;
    }
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  return bands;
}

bool HasPixel(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

// Receives the addresses QDesktopServices would hand to the browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.append(url); }
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> window_;
  int queries_ = 0;

  template <typename W = QWidget>
  W* Find(const char* name) const {
    return window_->findChild<W*>(U(name));
  }
  void ShowActive() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

 private slots:
  void init() {
    queries_ = 0;
    window_ = std::make_unique<MainWindow>(brenvik::Site{}, [this](brenvik::Form&) { ++queries_; });
  }
  void cleanup() {
    window_.reset();
    brenvik::ThemeLook(0);
  }

  void controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");  // empty: the window
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");  // empty: the default font
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");  // labels and group boxes

    const QColor none;
    const QColor black(0, 0, 0);
    const QString kai = U("楷体_GB2312");
    auto row = [](const char* name, const char* kind, const char* parent, QRect place,
                  const char* text, const QString& face, int pixels, bool bold, QColor colour) {
      QTest::newRow(name) << U(name) << QString::fromLatin1(kind) << U(parent) << place << U(text)
                          << face << pixels << bold << colour;
    };
    row("标签1", "brenvik::Label", "", {8, 8, 72, 24}, "召唤师名称：", kai, 12, true, QColor(255, 0, 0));
    row("编辑框1", "QLineEdit", "", {80, 8, 152, 24}, "青石过客R2", {}, 0, false, none);
    row("标签2", "brenvik::Label", "", {248, 8, 64, 24}, "所在大区：", kai, 12, true, QColor(0, 96, 192));
    row("组合框1", "QComboBox", "", {316, 11, 132, 20}, "艾欧尼亚(电信一)", U("黑体"), 12, false, none);
    row("按钮1", "QPushButton", "", {456, 8, 56, 24}, "查询", kai, 12, true, none);
    row("图片框7", "brenvik::PictureBox", "", {512, 48, 24, 24}, "", {}, 0, false, none);
    row("标签7", "brenvik::Label", "", {392, 136, 168, 24}, "", {}, 0, false, black);
    row("标签8", "brenvik::Label", "", {392, 176, 168, 24}, "", {}, 0, false, black);
    row("标签9", "brenvik::Label", "", {392, 216, 168, 24}, "", {}, 0, false, black);
    row("标签10", "brenvik::Label", "", {392, 256, 168, 24}, "", {}, 0, false, black);
    row("标签11", "brenvik::Label", "", {392, 296, 168, 24}, "", {}, 0, false, black);
    row("分组框1", "QGroupBox", "", {7, 40, 505, 312}, "查询信息", kai, 14, true, QColor(255, 128, 0));
    row("图片框1", "brenvik::PictureBox", "分组框1", {10, 17, 60, 60}, "", {}, 0, false, none);
    row("标签3", "brenvik::Label", "分组框1", {81, 8, 416, 80}, "", kai, 14, true, QColor(128, 0, 0));
    row("分组框2", "QGroupBox", "分组框1", {345, 80, 187, 200}, "     最近战绩查询", {}, 0, false, black);
    row("图片框2", "brenvik::PictureBox", "分组框2", {0, 16, 24, 24}, "", {}, 0, false, none);
    row("图片框3", "brenvik::PictureBox", "分组框2", {0, 54, 24, 24}, "", {}, 0, false, none);
    row("图片框4", "brenvik::PictureBox", "分组框2", {0, 96, 24, 24}, "", {}, 0, false, none);
    row("图片框5", "brenvik::PictureBox", "分组框2", {0, 136, 24, 24}, "", {}, 0, false, none);
    row("图片框6", "brenvik::PictureBox", "分组框2", {0, 176, 24, 24}, "", {}, 0, false, none);
    row("标签5", "brenvik::Label", "分组框1", {7, 97, 354, 179}, "", kai, 14, true, QColor(128, 0, 128));
    row("标签4", "brenvik::Label", "分组框1", {331, 288, 200, 16}, "", {}, 0, false, black);
    row("标签6", "brenvik::Label", "分组框1", {1, 288, 248, 24}, "", {}, 0, false, black);
    row("编辑框2", "QLineEdit", "分组框1", {1, 312, 16, 24}, "", {}, 0, false, none);
  }

  void controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);

    QWidget* w = window_->findChild<QWidget*>(name);
    QVERIFY(w);
    QVERIFY2(w->inherits(kind.toLatin1().constData()), w->metaObject()->className());
    QCOMPARE(w->parentWidget(), parent.isEmpty() ? window_.get() : Find(parent.toUtf8().constData()));
    QCOMPARE(w->geometry(), place);

    QString shown;
    if (auto* label = qobject_cast<Label*>(w)) shown = label->Caption();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) shown = edit->text();
    if (auto* list = qobject_cast<QComboBox*>(w)) shown = list->currentText();
    if (auto* button = qobject_cast<QPushButton*>(w)) shown = button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) shown = group->title();
    QCOMPARE(shown, text);

    if (face.isEmpty()) {
      // Default font: not handed down from a group box's font.
      if (!qobject_cast<brenvik::PictureBox*>(w)) QCOMPARE(w->font(), QApplication::font());
    } else {
      QCOMPARE(w->font().family(), face);
      QCOMPARE(w->font().pixelSize(), pixels);
      QCOMPARE(w->font().bold(), bold);
      // The face really resolves to an installed Kai or Hei face.
      const QString expected = face == U("黑体") ? U("WenQuanYi Micro Hei") : U("AR PL KaitiM GB");
      QCOMPARE(QFontInfo(w->font()).family(), expected);
    }

    if (colour.isValid()) {
      if (auto* label = qobject_cast<Label*>(w)) QCOMPARE(label->TextColour(), colour);
      if (auto* group = qobject_cast<QGroupBox*>(w))
        QCOMPARE(group->palette().color(QPalette::WindowText), colour);
    }

    window_->show();
    QCOMPARE(w->isVisible(), name != U("编辑框2"));
  }

  void frame() {
    QCOMPARE(window_->windowTitle(), U("Brenvik by:Torvane"));
    QCOMPARE(window_->minimumSize(), QSize(535, 353));
    QCOMPARE(window_->maximumSize(), QSize(535, 353));
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!window_->windowIcon().isNull());
    QVERIFY(!window_->isVisible());  // created hidden

    window_->CentreOnScreen();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window_->pos(), QPoint(screen.x() + (screen.width() - 541) / 2,
                                    screen.y() + (screen.height() - 382) / 2));
  }

  void serverList() {
    const QStringList servers = {
        U("艾欧尼亚(电信一)"),   U("祖安(电信二)"),       U("诺克萨斯(电信三)"),
        U("班德尔城(电信四)"),   U("皮尔特沃夫(电信五)"), U("战争学院(电信六)"),
        U("巨神峰(电信七)"),     U("雷瑟守备(电信八)"),   U("裁决之地(电信九)"),
        U("黑色玫瑰(电信十)"),   U("暗影岛(电信十一)"),   U("钢铁烈阳(电信十二)"),
        U("均衡教派(电信十三)"), U("水晶之痕(电信十四)"), U("影流(电信十五)"),
        U("守望之海(电信十六)"), U("征服之海(电信十七)"), U("卡拉曼达(电信十八)"),
        U("皮城警备(电信十九)"), U("比尔吉沃特(网通一)"), U("德玛西亚(网通二)"),
        U("弗雷尔卓德(网通三)"), U("无畏先锋(网通四)"),   U("恕瑞玛(网通五)"),
        U("扭曲丛林(网通六)"),   U("教育网专区(教育一)")};
    auto* list = Find<QComboBox>("组合框1");
    QVERIFY(list);
    QCOMPARE(list->count(), servers.size());
    for (int i = 0; i < servers.size(); ++i) QCOMPARE(list->itemText(i), servers[i]);
    QVERIFY(!list->isEditable());
    QCOMPARE(window_->ComboSelection("组合框1"), 0);
    QCOMPARE(window_->ComboItemText("组合框1", 0), Gbk("艾欧尼亚(电信一)"));
    QCOMPARE(window_->ComboItemText("组合框1", 25), Gbk("教育网专区(教育一)"));
    QCOMPARE(window_->ComboItemText("组合框1", -1), std::string());
    QCOMPARE(window_->ComboItemText("组合框1", 26), std::string());

    // Opened, box and list together reach 160 pixels down from the box's top edge.
    ShowActive();
    list->showPopup();
    QWidget* popup = list->view()->window();
    QTRY_VERIFY(popup->isVisible());
    const QPoint top = list->mapToGlobal(QPoint(0, 0));
    QCOMPARE(popup->geometry().top(), top.y() + list->height());
    QCOMPARE(popup->geometry().bottom() + 1, top.y() + 160);
    list->hidePopup();
  }

  void stacking_data() {
    QTest::addColumn<QPoint>("at");  // in the window's client area
    QTest::addColumn<QString>("top");
    QTest::newRow("result line over both group boxes") << QPoint(395, 140) << U("标签7");
    QTest::newRow("last result line over both group boxes") << QPoint(395, 300) << U("标签11");
    QTest::newRow("games box over the profile text") << QPoint(360, 125) << U("分组框2");
    QTest::newRow("games box over the statistics") << QPoint(360, 200) << U("分组框2");
    QTest::newRow("avatar inside the query box") << QPoint(20, 60) << U("图片框1");
  }
  void stacking() {
    QFETCH(QPoint, at);
    QFETCH(QString, top);
    window_->show();
    QWidget* hit = window_->childAt(at);
    QVERIFY(hit);
    QCOMPARE(hit->objectName(), top);
  }

  void tabCyclesThreeControls() {
    ShowActive();
    Find("编辑框1")->setFocus();
    QStringList visited;
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{U("按钮1"), U("组合框1"), U("编辑框1"), U("按钮1")}));
  }

  void enterClicksTheButton_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("queries");
    QTest::newRow("Return in the name box") << U("编辑框1") << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("keypad Enter on the list") << U("组合框1") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("Return on the button") << U("按钮1") << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("Shift+Return in the name box") << U("编辑框1") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << 0;
    QTest::newRow("Ctrl+Return in the name box") << U("编辑框1") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    QTest::newRow("Space on the button") << U("按钮1") << int(Qt::Key_Space) << 0 << 1;
  }
  void enterClicksTheButton() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, queries);
    ShowActive();
    QWidget* target = window_->findChild<QWidget*>(focus);
    target->setFocus();
    QSignalSpy clicks(Find<QPushButton>("按钮1"), &QPushButton::clicked);
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(queries_, queries);
    QCOMPARE(clicks.count(), queries);
    QCOMPARE(window_->EditText("编辑框1"), Gbk("青石过客R2"));
    QVERIFY(window_->isVisible());
  }

  void typingAndChoosingRunNothing() {
    ShowActive();
    auto* name = Find<QLineEdit>("编辑框1");
    name->setFocus();
    QTest::keyClicks(name, "ab");
    QCOMPARE(name->text(), U("ab青石过客R2"));  // the caret starts at the front
    auto* list = Find<QComboBox>("组合框1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(window_->ComboSelection("组合框1"), 1);
    QCOMPARE(queries_, 0);
  }

  void escapeCloses() {
    ShowActive();
    QTest::keyClick(Find("组合框1"), Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
  }

  void linkIconOpensThePageOnEveryPress() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    window_->show();
    QWidget* link = Find("图片框7");
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(12, 12));
    QTest::mousePress(link, Qt::RightButton, {}, QPoint(12, 12));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(catcher.opened.size(), 2);
    QCOMPARE(catcher.opened[0], QUrl(QString::fromLatin1(MainWindow::kAuthorPage)));
    QCOMPARE(window_->Picture("图片框7"), brenvik::LinkIcon());
  }

  void lineBreaksInLabels_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("caption");  // UTF-8, written as GBK
    QTest::addColumn<int>("rows");
    const QByteArray longLine = QString(40, QChar(0x56FD)).toUtf8();  // 40 x 国, wider than any label
    QTest::newRow("CR LF in a single-line label") << U("标签7") << QByteArray("AB\r\nCD") << 1;
    QTest::newRow("CR LF in a word-wrapped label") << U("标签3") << QByteArray("AB\r\nCD") << 2;
    QTest::newRow("lone LF and CR break too") << U("标签5") << QByteArray("A\nB\rC") << 3;
    QTest::newRow("single-line label is cut, not wrapped") << U("标签7") << longLine << 1;
    QTest::newRow("Chinese wraps by character") << U("标签3") << longLine << 2;
    QTest::newRow("words wrap whole") << U("标签3")
        << QByteArray("wrapping words wrapping words wrapping words wrapping words wrapping") << 2;
    QTest::newRow("lines below the bottom are cut") << U("标签4") << QByteArray("A\r\nB") << 1;
  }
  void lineBreaksInLabels() {
    QFETCH(QString, label);
    QFETCH(QByteArray, caption);
    QFETCH(int, rows);
    window_->SetCaption(label.toUtf8().toStdString(), Gbk(caption.toStdString()));
    const QImage shot = Find(label.toUtf8().constData())->grab().toImage();
    QCOMPARE(TextRows(shot), rows);
  }

  void captionKeepsAmpersandAndEmptyDrawsNothing() {
    auto* label = Find<Label>("标签6");
    window_->SetCaption("标签6", Gbk("A&B"));
    QCOMPARE(label->Caption(), U("A&B"));
    const QImage withAmp = label->grab().toImage();
    window_->SetCaption("标签6", Gbk("AB"));
    QVERIFY(withAmp != label->grab().toImage());  // the "&" is drawn, not eaten
    window_->SetCaption("标签6", "");
    QCOMPARE(TextRows(label->grab().toImage()), 0);
  }

  void textColourValue_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("255 is red") << 255u << QColor(255, 0, 0);
    QTest::newRow("128 is dark red") << 128u << QColor(128, 0, 0);
    QTest::newRow("blue is in the third byte") << 0xFF0000u << QColor(0, 0, 255);
  }
  void textColourValue() {
    QFETCH(uint, value);
    QFETCH(QColor, shown);
    window_->SetCaption("标签3", Gbk("玩家等级：三十级"));
    window_->SetTextColour("标签3", value);
    QVERIFY(HasPixel(Find("标签3")->grab().toImage(), shown));
  }

  void editTextsCrossTheFormAsGbk_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("Chinese and ASCII") << QByteArray("青石过客R2");
    QTest::newRow("CR LF kept in a single-line box") << QByteArray("a\r\nb");
    QTest::newRow("longer than Qt's default limit") << QByteArray(40000, 'x');
  }
  void editTextsCrossTheFormAsGbk() {
    QFETCH(QByteArray, utf8);
    const brenvik::Text gbk = Gbk(utf8.toStdString());
    window_->SetEditText("编辑框1", gbk);
    QCOMPARE(window_->EditText("编辑框1"), gbk);
    QCOMPARE(Find<QLineEdit>("编辑框1")->cursorPosition(), 0);
    window_->SetEditText("编辑框2", "x");
    Find<QLineEdit>("编辑框2")->setCursorPosition(0);
    window_->EditAppendText("编辑框2", gbk);
    window_->EditAppendText("编辑框2", Gbk("亚索   "));
    QCOMPARE(window_->EditText("编辑框2"), "x" + gbk + Gbk("亚索   "));
  }

  // Every code of code page 936 as one long text: written to an edit box and read back, the
  // same bytes; nothing composed (FD 9C, a compatibility ideograph, is not made C0 C9).
  void everyGbkCodeComesBackFromAnEditBox() {
    brenvik::Text all;
    for (int b = 0x01; b <= 0x80; ++b) all += static_cast<char>(b);
    all += '\xFF';
    for (int lead = 0x81; lead <= 0xFE; ++lead)
      for (int trail = 0x40; trail <= 0xFE; ++trail)
        if (trail != 0x7F) all += {static_cast<char>(lead), static_cast<char>(trail)};
    QVERIFY(all.find("\xFD\x9C") != brenvik::Text::npos);
    window_->SetEditText("编辑框1", all);
    const brenvik::Text back = window_->EditText("编辑框1");
    const auto differs = std::mismatch(all.begin(), all.end(), back.begin(), back.end());
    QVERIFY2(differs.first == all.end() && differs.second == back.end(),
             qPrintable(QStringLiteral("first difference at byte %1 of %2, read back %3 bytes")
                            .arg(differs.first - all.begin())
                            .arg(all.size())
                            .arg(back.size())));
    window_->SetEditText("编辑框2", "");
    window_->EditAppendText("编辑框2", all);
    QVERIFY(window_->EditText("编辑框2") == all);
  }

  // What the user typed is read character for character: a mark stays a mark ("?"), and a
  // character GBK lacks, visible or not, leaves one "?".
  void typedTextIsReadAsItStands() {
    Find<QLineEdit>("编辑框1")->setText(U("e\u0301\u200B\uF92C\uAC00"));
    QCOMPARE(window_->EditText("编辑框1"), brenvik::Text("e??\xFD\x9C?"));
  }

  void formIgnoresNamesItLacks() {
    window_->SetCaption("标签99", "x");
    window_->SetEditText("标签1", "x");  // not an edit box
    window_->SetPicture("编辑框1", {1, 2, 3});
    window_->SetTextColour("编辑框1", 255);
    QCOMPARE(window_->EditText("标签1"), std::string());
    QCOMPARE(window_->ComboSelection("编辑框1"), -1);
    QCOMPARE(window_->ComboItemText("按钮1", 0), std::string());
    QVERIFY(window_->Picture("组合框1").empty());
    QCOMPARE(Find<Label>("标签1")->Caption(), U("召唤师名称："));
  }

  void picturesComeBackAsWritten() {
    const std::string html = "<html>404</html>";
    const brenvik::Bytes page(html.begin(), html.end());
    window_->SetPicture("图片框3", page);
    QCOMPARE(window_->Picture("图片框3"), page);
    window_->SetPicture("图片框3", {});
    QVERIFY(window_->Picture("图片框3").empty());
  }

  void themeSchemes_data() {
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QColor>("frame");  // invalid: the look is off
    QTest::newRow("blue") << 1 << QColor(123, 158, 189);
    QTest::newRow("olive green") << 2 << QColor(164, 185, 127);
    QTest::newRow("silver") << 3 << QColor(198, 197, 215);
    QTest::newRow("any other number is off") << 4 << QColor();
    QTest::newRow("zero is off") << 0 << QColor();
  }
  void themeSchemes() {
    QFETCH(int, scheme);
    QFETCH(QColor, frame);
    window_->show();
    brenvik::ThemeLook(2);  // an earlier look, replaced or removed
    brenvik::ThemeLook(scheme);
    const QImage edit = Find("编辑框1")->grab().toImage();
    const QColor border = edit.pixelColor(edit.width() / 2, 0);
    if (frame.isValid()) {
      QCOMPARE(border, frame);
      QCOMPARE(brenvik::ThemeScheme(), scheme);
    } else {
      QCOMPARE(brenvik::ThemeScheme(), 0);
      for (int s = 1; s <= 3; ++s) QVERIFY(border != brenvik::ThemeFrameColour(s));
    }
    // Labels keep their own drawing: the caption colour is not the theme's.
    QCOMPARE(Find<Label>("标签1")->TextColour(), QColor(255, 0, 0));
  }

  void createdEventWritesThePromotionalPicture_data() {
    QTest::addColumn<bool>("serve");
    QTest::newRow("no address: empty picture") << false;
    QTest::newRow("an HTML error page is stored as it came") << true;
  }
  void createdEventWritesThePromotionalPicture() {
    QFETCH(bool, serve);
    const std::string body = "<html><body>502 Bad Gateway</body></html>";
    httplib::Server server;
    server.Get(".*", [&](const httplib::Request&, httplib::Response& res) {
      res.status = 502;
      res.set_content(body, "text/html");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    brenvik::Site site;
    if (serve) site.promoUrl = "http://127.0.0.1:" + std::to_string(port) + brenvik::kPromoPath;
    MainWindow window(site, [](brenvik::Form&) {});
    window.SetPicture("图片框1", {1, 2, 3});
    QSignalSpy shown(&window.Runner(), &brenvik::QueryRunner::PromoShown);
    window.OnWindowCreated();
    QCOMPARE(brenvik::ThemeScheme(), 2);
    QVERIFY(shown.wait(5000));
    server.stop();
    thread.join();

    QCOMPARE(window.Picture("图片框1"), serve ? brenvik::Bytes(body.begin(), body.end()) : brenvik::Bytes());
    QVERIFY(!window.findChild<brenvik::PictureBox*>(U("图片框1"))->HasShownPicture());
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
