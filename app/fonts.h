// The window's fonts: the two faces the form asks for ("楷体_GB2312", Kai, and "黑体", Hei),
// the installed faces that stand in for them on Linux, and the form's stored fonts.
//
// The same substitutions live in app/fonts/brenvik-fonts.conf for fontconfig (the program
// uses that file as FONTCONFIG_FILE); a test reads the file and checks it names these
// faces in this order, so change both together.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include <QFont>
#include <QStringList>

namespace brenvik::fonts {

inline constexpr std::string_view kKaiFace = "楷体_GB2312";
inline constexpr std::string_view kHeiFace = "黑体";
// Installed faces for each, the first found wins.
inline constexpr std::array<std::string_view, 2> kKaiSubstitutes = {"AR PL KaitiM GB", "AR PL UKai CN"};
inline constexpr std::array<std::string_view, 2> kHeiSubstitutes = {"WenQuanYi Micro Hei", "Noto Sans CJK SC"};
// Chinese in the default GUI font comes from this face (the Latin text keeps the platform's).
inline constexpr std::string_view kChineseUiFace = "WenQuanYi Micro Hei";

// The faces above as Qt's strings.
[[nodiscard]] QString FaceName(std::string_view face);
[[nodiscard]] QStringList FaceNames(std::span<const std::string_view> faces);

// Maps the two faces to installed ones and adds the Chinese face to the default GUI font;
// once per program (needs the QApplication), harmless when repeated.
void InstallSubstitutes();

// The form's stored fonts: face, character height in pixels, weight.
[[nodiscard]] QFont Font1();  // Kai, 12 px, bold
[[nodiscard]] QFont Font2();  // Kai, 14 px, bold
[[nodiscard]] QFont Font3();  // Hei, 12 px, normal
// The default GUI font, for controls inside a group box with a font of its own. Every
// attribute is set, so that nothing of the group box's font is handed down to them.
[[nodiscard]] QFont DefaultFont();

}  // namespace brenvik::fonts
