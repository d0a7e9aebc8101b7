// The window's controls as the lookup addresses them, by the form's names (UTF-8), and the
// entries of its server list. The window, the lookup and their test doubles all take them
// from here.
#pragma once

#include <array>
#include <string_view>

namespace brenvik::names {

inline constexpr std::string_view kNameBox = "编辑框1";
inline constexpr std::string_view kHeroCollector = "编辑框2";
inline constexpr std::string_view kServerList = "组合框1";
inline constexpr std::string_view kQueryButton = "按钮1";
inline constexpr std::string_view kAvatarBox = "图片框1";
inline constexpr std::string_view kLinkIcon = "图片框7";
inline constexpr std::string_view kProfileLabel = "标签3";
inline constexpr std::string_view kTitleLabel = "标签4";
inline constexpr std::string_view kStatisticsLabel = "标签5";
inline constexpr std::string_view kStatusLabel = "标签6";
inline constexpr std::array<std::string_view, 5> kIconBoxes = {"图片框2", "图片框3", "图片框4", "图片框5", "图片框6"};
inline constexpr std::array<std::string_view, 5> kResultLabels = {"标签7", "标签8", "标签9", "标签10", "标签11"};

// The server list, in list order (UTF-8): a region's name and, in brackets, the short name
// that goes into the request.
inline constexpr std::array<std::string_view, 26> kServerEntries = {
    "艾欧尼亚(电信一)",   "祖安(电信二)",       "诺克萨斯(电信三)",   "班德尔城(电信四)",
    "皮尔特沃夫(电信五)", "战争学院(电信六)",   "巨神峰(电信七)",     "雷瑟守备(电信八)",
    "裁决之地(电信九)",   "黑色玫瑰(电信十)",   "暗影岛(电信十一)",   "钢铁烈阳(电信十二)",
    "均衡教派(电信十三)", "水晶之痕(电信十四)", "影流(电信十五)",     "守望之海(电信十六)",
    "征服之海(电信十七)", "卡拉曼达(电信十八)", "皮城警备(电信十九)", "比尔吉沃特(网通一)",
    "德玛西亚(网通二)",   "弗雷尔卓德(网通三)", "无畏先锋(网通四)",   "恕瑞玛(网通五)",
    "扭曲丛林(网通六)",   "教育网专区(教育一)"};

}  // namespace brenvik::names
