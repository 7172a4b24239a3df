#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <vector>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/random.h"
#include "core/real_format.h"
#include "core/rounding.h"
#include "support/polish_locale.h"

using namespace bbx;

TEST(CodePage, MatchesTheSystemConverterForEveryAssignedByte) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1250 converter here";
    int assigned = 0;
    for (int b = 0x80; b < 0x100; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* inp = in;
        char* outp = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) continue;
        ++assigned;
        EXPECT_EQ(Cp1250ToUtf8(std::string(1, static_cast<char>(b))), std::string(out, outp)) << std::hex << b;
    }
    iconv_close(cd);
    EXPECT_EQ(assigned, 123);
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all), &lossless), all);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(Cp1250ToUtf8("\x81"), "\xC2\x81");
}

TEST(CodePage, PolishLettersAndRefusedCharacters) {
    EXPECT_EQ(Pl<"Wyjście">(), "Wyj\x9C" "cie");
    EXPECT_EQ(Pl<"ŁĄŻŹĆŃÓŚĘ">(), "\xA3\xA5\xAF\x8F\xC6\xD1\xD3\x8C\xCA");
    bool lossless = true;
    EXPECT_EQ(Utf8ToCp1250("a\xE2\x98\x83" "b", &lossless), "a?b");  // a snowman
    EXPECT_FALSE(lossless);
    EXPECT_EQ(Utf8ToCp1250("\xC5", &lossless), "?") << "cut-short sequence";
    EXPECT_EQ(Utf8ToCp1250("\xC0\x80", &lossless), "??") << "overlong form";
    EXPECT_EQ(Cp1250Lower(Pl<"ŁĄKA ŻÓŁW ŚĆ Ź">()), Pl<"łąka żółw ść ź">());
    EXPECT_EQ(Cp1250ToUpper(Pl<"ż">()[0]), Pl<"Ż">()[0]);
    EXPECT_EQ(Cp1250ToLower('\xD7'), '\xD7') << "the multiplication sign has no case";
}

TEST(Rounding, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(RoundHalfEven(-2.6L), -3);
    EXPECT_EQ(RoundHalfEven(64.49L), 64);
}

TEST(RealFormat, ShortestDecimalThatReadsBack) {
    EXPECT_EQ(FormatReal(0.1f, '.'), "0.1");
    EXPECT_EQ(FormatReal(1250.0f, '.'), "1250");
    EXPECT_EQ(FormatReal(-2.5f, ','), "-2,5");
    EXPECT_EQ(FormatReal(0.3f, '.'), "0.3");
    EXPECT_EQ(FormatReal(1.0e-5f, '.'), "0.00001");
    EXPECT_EQ(FormatReal(9.99e-6f, '.'), "9.99E-6");
    EXPECT_EQ(FormatReal(123456789e6f, '.'), "123456790000000");
    EXPECT_EQ(FormatReal(1e15f, '.'), "1E15");
    EXPECT_EQ(FormatReal(0.0f, '.'), "0");
    EXPECT_EQ(FormatReal(1.0f / 3, '.'), "0.33333334");
    for (float f : {0.1f, 1.0f / 3, 3.4028235e38f, 1.17549435e-38f, 1e-45f, -123.456f, 16777217.0f}) {
        const auto back = ParseReal(FormatReal(f, ','), ',');
        ASSERT_TRUE(back.has_value()) << FormatReal(f, ',');
        EXPECT_EQ(*back, f) << FormatReal(f, ',');
    }
}

TEST(RealFormat, ReadsTheUsersSeparatorAndAlsoAPoint) {
    EXPECT_EQ(ParseReal("1,5", ','), 1.5f);
    EXPECT_EQ(ParseReal("1.5", ','), 1.5f);
    EXPECT_EQ(ParseReal(" -2.25e1 ", '.'), -22.5f);
    EXPECT_EQ(ParseReal("+3", '.'), 3.0f);
    EXPECT_FALSE(ParseReal("1,5", '.').has_value()) << "a foreign separator is not silently cut";
    EXPECT_FALSE(ParseReal("", '.').has_value());
    EXPECT_FALSE(ParseReal("abc", '.').has_value());
    EXPECT_FALSE(ParseReal("1.5x", '.').has_value());
    EXPECT_FALSE(ParseReal("++1", '.').has_value());
    EXPECT_EQ(ParseReal("1e99", '.'), std::numeric_limits<float>::infinity());
}

TEST(RealFormat, ConversionErrorsNameTheText) {
    try {
        StrToReal("zima");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("zima"), std::string::npos);
        EXPECT_STREQ(e.ClassName(), "EConvertError");
    }
    EXPECT_EQ(StrToInt(" -12 "), -12);
    EXPECT_THROW(StrToInt("12.5"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
}

// A Polish LC_ALL in the environment while the test runs; the process's
// LC_NUMERIC, the locale variables and the separator in use come back after.
class RealFormatUnderPolishLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string missing = gb::test_support::EnsurePolishLocale();
        if (!missing.empty()) GTEST_SKIP() << missing;
        ::setenv("LC_ALL", gb::test_support::kPolishLocale, 1);
    }
    void TearDown() override {
        UseDecimalSeparator(std::nullopt);
        std::setlocale(LC_NUMERIC, SavedNumeric.c_str());
    }

    const gb::test_support::TLocaleEnvironment Environment;
    const std::string SavedNumeric = std::setlocale(LC_NUMERIC, nullptr);
};

TEST_F(RealFormatUnderPolishLocale, FollowsTheLocaleSeparator) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, gb::test_support::kPolishLocale), nullptr);
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(FormatReal(0.5f), "0,5");
    EXPECT_EQ(ParseReal("0,5"), 0.5f);
    EXPECT_EQ(ParseReal("0.5"), 0.5f);
    EXPECT_EQ(FormatReal(0.5f, '.'), "0.5") << "a separator given is kept, whatever the locale";
    EXPECT_FALSE(ParseReal("0,5", '.').has_value());
}

TEST_F(RealFormatUnderPolishLocale, TheUsersSeparatorIsReadWithoutSwitchingTheProcess) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    EXPECT_EQ(UserDecimalSeparator(), ',');
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
    EXPECT_EQ(DecimalSeparator(), '.') << "the process is still in its own locale";
    UseDecimalSeparator(UserDecimalSeparator());
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(FormatReal(-2.25f), "-2,25");
    EXPECT_EQ(ParseReal("1,5"), 1.5f);
    EXPECT_EQ(ParseReal("1.5"), 1.5f) << "a point is always read";
    EXPECT_EQ(StrToReal(" 1e3 "), 1000.0f);
    UseDecimalSeparator(std::nullopt);
    EXPECT_EQ(DecimalSeparator(), '.');

    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(UserDecimalSeparator(), '.');
    ::setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    EXPECT_EQ(UserDecimalSeparator(), '.') << "a locale that is not installed";
    ::unsetenv("LC_ALL");
    ::setenv("LC_NUMERIC", gb::test_support::kPolishLocale, 1);
    ::setenv("LANG", "C", 1);
    EXPECT_EQ(UserDecimalSeparator(), ',') << "LC_NUMERIC wins over LANG";
}

TEST(Random, StaysInRangeAndRepeatsFromASeed) {
    RandSeed(7);
    std::vector<std::int32_t> first;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        first.push_back(r);
        const double f = RandomReal();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
    }
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0) << "a bound below 1 gives 0, never a fault";
    RandSeed(7);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(Random(10), first[static_cast<std::size_t>(i)]);
        RandomReal();
    }
}
