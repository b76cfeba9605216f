// The numeric conventions every subsystem relies on.
#include "core/numbers.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <set>

namespace kesmir {
namespace {

TEST(Numbers, ConversionsRoundHalvesToEvenAndSaturate) {
  EXPECT_EQ(CInt(264.5), 264);
  EXPECT_EQ(CInt(265.5), 266);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(44.4), 44);
  EXPECT_EQ(CInt(1e9), 32767);
  EXPECT_EQ(CInt(-1e9), -32768);
  EXPECT_EQ(CLng(1e12), 2147483647);
  for (const auto& [value, whole] : {std::pair{-3.5, -4}, {0.49999999999999994, 0}, {2147483646.5, 2147483646},
                                     {-2147483647.2, -2147483647}, {4503599627370497.0, 2147483647}}) {
    EXPECT_EQ(CLng(value), whole) << value;
  }
  EXPECT_EQ(AddSat(32760, 100), 32767);
  EXPECT_EQ(Int(-0.5), -1.0);
}

TEST(Numbers, WholeDivisionTruncatesTowardsZero) {
  EXPECT_EQ(IntDiv(30, 3), 10);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_EQ(IntDiv(11, 2), 5);
  EXPECT_FALSE(IntDiv(1, 0).has_value());
}

TEST(Numbers, DecimalTextKeepsSevenOrFifteenDigits) {
  EXPECT_DOUBLE_EQ(SingleText(1.0 / 3.0), 0.3333333);
  EXPECT_DOUBLE_EQ(DoubleText(1.0 / 3.0), 0.333333333333333);
  EXPECT_EQ(NumberText(10), "10");
  EXPECT_EQ(NumberText(10.5), "10.5");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(123.456789, 7), "123.4568");
}

TEST(Numbers, ParsingAcceptsBlanksAndRejectsText) {
  EXPECT_EQ(ParseNumber(" 42 "), 42.0);
  EXPECT_EQ(ParseNumber(""), 0.0);
  EXPECT_EQ(ParseNumber("-8.5"), -8.5);
  EXPECT_EQ(ParseNumber("1e3"), 1000.0);
  EXPECT_FALSE(ParseNumber("abc").has_value());
  EXPECT_FALSE(ParseNumber("12abc").has_value());
  EXPECT_FALSE(ParseNumber("1e999").has_value());
  EXPECT_FALSE(ParseNumber(".").has_value());
}

TEST(Random, DeterministicModeIgnoresReseedingAndReseedsInOneTickStillDiffer) {
  Random a(7), b(7);
  a.SetDeterministic(true);
  b.SetDeterministic(true);
  a.Randomize(123);
  b.Randomize(456);
  for (int i = 0; i < 100; ++i) {
    const double x = a.Rnd();
    EXPECT_EQ(x, b.Rnd());
    EXPECT_GE(x, 0.0);
    EXPECT_LT(x, 1.0);
  }
  // Re-seeded from the same clock reading again and again, as flakes started in one microsecond are.
  Random live(7);
  std::set<double> draws;
  for (int i = 0; i < 100; ++i) {
    live.Randomize(5);
    draws.insert(live.Rnd());
  }
  EXPECT_EQ(draws.size(), 100u);
}

}  // namespace
}  // namespace kesmir

namespace kesmir {
namespace {

TEST(Numbers, FastDecimalRoundingAgreesWithTheTextConversion) {
  Random random(99);
  auto slow = [](double v, int digits) { return detail::RoundSignificantSlow(v, digits); };
  for (int i = 0; i < 200000; ++i) {
    const double magnitude = std::pow(10.0, random.Rnd() * 16 - 8);
    const double v = (random.Rnd() < 0.5 ? -1 : 1) * magnitude * random.Rnd();
    ASSERT_EQ(DoubleText(v), slow(v, 15)) << v;
    ASSERT_EQ(RoundSignificant(v, 7), slow(v, 7)) << v;
  }
  // Values the game meets: positions stepped by sines and cosines, halves, powers of ten.
  for (double x = -20; x < 320; x += 0.0137) {
    const double stepped = x + std::cos(x);
    ASSERT_EQ(DoubleText(stepped), slow(stepped, 15)) << stepped;
    ASSERT_EQ(SingleText(stepped), slow(static_cast<float>(stepped), 7)) << stepped;
  }
  // Halves and the doubles nearest to decimal halves, at both digit counts the game writes.
  for (int i = 0; i < 20000; ++i) {
    const double n = std::floor(random.Rnd() * 9e14) + 1e14;
    for (const double v : {n + 0.5, (n + 0.5) / std::pow(10.0, i % 20), std::floor(n / 1e8) + 0.5,
                           (std::floor(n / 1e8) + 0.5) / std::pow(10.0, i % 9), std::floor(n / 1e9) / 8 + 1.0 / 16}) {
      ASSERT_EQ(DoubleText(v), slow(v, 15)) << v;
      ASSERT_EQ(RoundSignificant(v, 7), slow(v, 7)) << v;
    }
  }
  for (double v : {0.5, 2.5, 1e15, 999999999999999.5, 1e-9, 123456.75, 0.1 + 0.2, 1e22, 5e-324}) {
    EXPECT_EQ(DoubleText(v), slow(v, 15)) << v;
    EXPECT_EQ(RoundSignificant(v, 7), slow(v, 7)) << v;
  }
}

}  // namespace
}  // namespace kesmir
