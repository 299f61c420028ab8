#include <gtest/gtest.h>

#include "apoyo/error_de.hpp"

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/variant.hpp"

using kx204::host::Currency;
using kx204::host::Date;
using kx204::host::RuntimeError;
using kx204::host::Variant;
namespace errores = kx204::host::errores;

TEST(Variant, ConversionsFollowTheScriptingRulesAndFailedOnesRaiseTheirNumbers) {
    EXPECT_EQ(Variant("  1,234.5 ").ToDouble(), 1234.5);
    EXPECT_EQ(Variant("$1,234.50").ToDouble(), 1234.5);
    EXPECT_EQ(Variant(2.5).ToLong(), 2);  // half to even
    EXPECT_EQ(Variant(3.5).ToLong(), 4);
    EXPECT_EQ(Variant("-2.5").ToInteger(), -2);
    EXPECT_TRUE(Variant("True").ToBool());
    EXPECT_TRUE(Variant("1").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_TRUE(Variant(-1).ToBool());
    EXPECT_EQ(Variant(0.1 + 0.2).ToText(), "0.3");
    EXPECT_EQ(Variant(1e20).ToText(), "100000000000000000000");
    EXPECT_EQ(Variant(true).ToText(), "True");
    EXPECT_EQ(Variant().ToText(), "");
    EXPECT_EQ(Variant().ToDouble(), 0);
    EXPECT_EQ(Variant(Variant::Null).ToTextOrEmpty(), "");
    EXPECT_EQ(Variant("2025-01-31").ToDate(), Date::FromYmd(2025, 1, 31));
    EXPECT_EQ(Variant(Date::FromYmd(2025, 1, 31)).ToText(), "2025-01-31");

    EXPECT_EQ(prueba::NumeroDeError([] { Variant("").ToDouble(); }), errores::TypeMismatch);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant("12abc").ToDouble(); }), errores::TypeMismatch);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant("maybe").ToBool(); }), errores::TypeMismatch);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant("31/02/2025").ToDate(); }), errores::TypeMismatch);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(Variant::Null).ToText(); }), errores::InvalidUseOfNull);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(Variant::Null).ToDate(); }), errores::InvalidUseOfNull);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(Variant::Null).ToDouble(); }), errores::InvalidUseOfNull);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(32768).ToInteger(); }), errores::Overflow);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(3e9).ToLong(); }), errores::Overflow);
    EXPECT_EQ(prueba::NumeroDeError([] { Variant(1e300).ToCurrency(); }), errores::Overflow);
}

TEST(Currency, RoundsAndSumsWithoutDrift) {
    EXPECT_EQ(Currency::FromDouble(0.00005).Scaled(), 0);  // half to even
    EXPECT_EQ(Currency::FromDouble(0.00015).Scaled(), 2);
    EXPECT_EQ(Currency::Parse("1.23456").Scaled(), 12346);
    EXPECT_EQ(Currency::Parse("1.00025").Scaled(), 10002);
    EXPECT_EQ(Currency::Parse("1.000250001").Scaled(), 10003);
    EXPECT_EQ(Currency::FromDouble(17.2345678).Scaled(), 172346);
    EXPECT_EQ(Currency::Parse("-$1,000.5").Scaled(), -10005000);
    Currency sum;
    for (int i = 0; i < 1000; ++i) sum += Currency::Parse("0.1");
    EXPECT_EQ(sum, Currency::Parse("100"));
    EXPECT_EQ(Currency::Parse("1234567.5").ToDisplay(), "$1,234,567.5000");
    EXPECT_EQ(Currency::Parse("-0.05").ToDisplay(), "-$0.0500");
    EXPECT_EQ(Currency::Parse("12.50").ToString(), "12.5");
    EXPECT_EQ(prueba::NumeroDeError([] { Currency::Parse("1.2.3"); }), errores::TypeMismatch);
    EXPECT_EQ(prueba::NumeroDeError([] { Currency::FromScaled(INT64_MAX) + Currency::FromScaled(1); }),
              errores::Overflow);
    // Multiply and divide with one rounding, past what a double or 64 bits hold in between.
    const Currency maximo = Currency::Parse("900000000000000");
    EXPECT_EQ(maximo.MulDiv(Currency::Parse("0.3333"), Currency::Parse("0.3333")), maximo);
    EXPECT_EQ(Currency::Parse("1.0001").MulDiv(Currency::Parse("1"), Currency::Parse("2")).ToString(), "0.5");
    EXPECT_EQ(Currency::Parse("1.0003").MulDiv(Currency::Parse("1"), Currency::Parse("2")).ToString(), "0.5002");
    EXPECT_EQ(Currency::Parse("-1.0003").MulDiv(Currency::Parse("1"), Currency::Parse("-2")).ToString(), "0.5002");
    EXPECT_EQ(Currency::Parse("-1.0003").MulDiv(Currency::Parse("1"), Currency::Parse("2")).ToString(), "-0.5002");
    EXPECT_EQ((-maximo).MulDiv(Currency::Parse("0.3333"), Currency::Parse("0.3333")), -maximo);
    EXPECT_EQ(prueba::NumeroDeError([&] { maximo.MulDiv(maximo, Currency::Parse("1")); }), errores::Overflow);
    EXPECT_EQ(prueba::NumeroDeError([] { Currency::Parse("1").MulDiv(Currency::Parse("1"), Currency()); }),
              errores::Overflow);
    // Split: the last part takes the remainder; parts always add up to the whole.
    const auto tercios =
        Currency::Split(Currency::Parse("1"), {Currency::Parse("1"), Currency::Parse("1"), Currency::Parse("1")});
    EXPECT_EQ(tercios[0].ToString() + "/" + tercios[1].ToString() + "/" + tercios[2].ToString(),
              "0.3333/0.3333/0.3334");
    EXPECT_EQ(Currency::Split(Currency::Parse("5"), {Currency(), Currency()})[1].ToString(), "5");
    EXPECT_TRUE(Currency::Split(Currency::Parse("5"), {}).empty());
}

TEST(Date, ParsesFormatsAndCountsDays) {
    const Date date = Date::FromYmd(2024, 2, 28);
    EXPECT_EQ(date.AddDays(1).ToIso(), "2024-02-29");
    EXPECT_EQ(date.AddDays(2).ToDdMmYyyy(), "01-03-2024");
    EXPECT_EQ(Date::FromYmd(1899, 12, 30).SerialDays(), 0);
    EXPECT_EQ(Date::Parse("2024-02-29 13:05:09")->ToIsoDateTime(), "2024-02-29 13:05:09");
    EXPECT_EQ(Date::Parse("2024-02-29T13:05:09.123")->Second(), 9);
    EXPECT_FALSE(Date::Parse("2023-02-29").has_value());
    EXPECT_FALSE(Date::Parse("2024-02-29 25:00").has_value());
    EXPECT_EQ(Date::Parse("05/03/2024")->ToIso(), "2024-03-05");
    EXPECT_EQ(prueba::NumeroDeError([&] { date.AddDays(5000000); }), errores::Overflow);
}
