#include "app/dispatch.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ModeLetter, SecondCharacterUpperCasedWhateverComesFirst) {
  EXPECT_EQ(ModeFromArgument(""), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("c"), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("/"), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("/c"), SaverMode::kSettings);
  EXPECT_EQ(ModeFromArgument("/c:5678"), SaverMode::kSettings);
  EXPECT_EQ(ModeFromArgument("-C"), SaverMode::kSettings);
  EXPECT_EQ(ModeFromArgument("xc"), SaverMode::kSettings);
  EXPECT_EQ(ModeFromArgument("/p"), SaverMode::kPreview);
  EXPECT_EQ(ModeFromArgument("/A"), SaverMode::kChangePassword);
  EXPECT_EQ(ModeFromArgument("/s"), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("/x"), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("/1"), SaverMode::kFullScreen);
  // Host conventions of X11 savers land on the full-screen saver.
  EXPECT_EQ(ModeFromArgument("--root"), SaverMode::kFullScreen);
  EXPECT_EQ(ModeFromArgument("--window-id"), SaverMode::kFullScreen);
}

TEST(ModeLetter, OnlyAsciiLettersAreUpperCased) {
  EXPECT_EQ(ModeLetter("/c"), 'C');
  EXPECT_EQ(ModeLetter("/\xe7"), '\xe7');
  EXPECT_EQ(ModeLetter("/["), '[');
  EXPECT_FALSE(ModeLetter("z").has_value());
}

TEST(ParseParentHandle, AcceptedForms) {
  EXPECT_EQ(ParseParentHandle("1234"), 1234);
  EXPECT_EQ(ParseParentHandle("$4D2"), 1234);
  EXPECT_EQ(ParseParentHandle("x4D2"), 1234);
  EXPECT_EQ(ParseParentHandle("X4d2"), 1234);
  EXPECT_EQ(ParseParentHandle("0x4D2"), 1234);
  EXPECT_EQ(ParseParentHandle("0X4d2"), 1234);
  EXPECT_EQ(ParseParentHandle("  1234"), 1234);
  EXPECT_EQ(ParseParentHandle("-1234"), -1234);
  EXPECT_EQ(ParseParentHandle("+1234"), 1234);
  EXPECT_EQ(ParseParentHandle("-$4D2"), -1234);
  EXPECT_EQ(ParseParentHandle("2147483647"), 2147483647);
  EXPECT_EQ(ParseParentHandle("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseParentHandle("0"), 0);
  EXPECT_EQ(ParseParentHandle("0x7FFFFFFF"), 2147483647);
}

TEST(ParseParentHandle, RejectedForms) {
  EXPECT_EQ(ParseParentHandle(""), 0);
  EXPECT_EQ(ParseParentHandle("   "), 0);
  EXPECT_EQ(ParseParentHandle("abc"), 0);
  EXPECT_EQ(ParseParentHandle("12ab"), 0);
  EXPECT_EQ(ParseParentHandle("1234 "), 0);
  EXPECT_EQ(ParseParentHandle("-"), 0);
  EXPECT_EQ(ParseParentHandle("$"), 0);
  EXPECT_EQ(ParseParentHandle("0x"), 0);
  EXPECT_EQ(ParseParentHandle("$4G"), 0);
  EXPECT_EQ(ParseParentHandle("2147483648"), 0);
  EXPECT_EQ(ParseParentHandle("-2147483649"), 0);
  EXPECT_EQ(ParseParentHandle("99999999999999999999"), 0);
  EXPECT_EQ(ParseParentHandle("0x100000000"), 0);
  EXPECT_EQ(ParseParentHandle("\t12"), 0);
  EXPECT_EQ(ParseParentHandle("1 2"), 0);
}

}  // namespace
}  // namespace qv
