#include "AnswerValue.h"

#include "AnswerJson.h"
#include "JsonText.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

using journal::AnswerValue;
using journal::Json;
using journal::parseAnswer;

std::string nested(int depth) {
    return std::string(static_cast<std::size_t>(depth), '[') + std::string(static_cast<std::size_t>(depth), ']');
}

// The answer reader accepts exactly what the JSON library's reader accepts and reads the same values.
TEST(ParseAnswer, ReadsWhatTheJsonLibraryReads) {
    const std::string texts[] = {
        R"({"a":1,"b":{"c":"first","c":{"deep":[1]},"d":2},"a":[3,{"x":1}]})", // first repeated member wins
        " \t\r\n{\"z\":1,\"a\":2}\n",
        "\xEF\xBB\xBF{\"a\":1}", // a byte order mark before the value
        R"({"big":18446744073709551616,"small":-9223372036854775809,"max":18446744073709551615})",
        R"({"n":[-0,1e2,2.5,3.0,-1.5e-7,0.1]})",
        R"({"s":"\u0426\u0435\u0445 \uD83D\uDE00 \/ \u0000 \" \\"})",
        R"({"Id":"exact","id":"lower"})",
        nested(512),
        // refused by both
        "",
        "  ",
        "{\"a\":1}x",
        "{\"a\":1}{}",
        "{\"a\":1",
        "<html></html>",
        "{'a':1}",
        "{\"a\":\"\xff\"}",
        "[1,]",
        R"({"a":1e400})",
        R"({"a":"\uD800"})",
        R"({"a":"\uDC00"})",
        "{\"a\":\"\t\"}",
        R"({"a":01})",
        "\f{}",
        nested(513),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 80));
        std::optional<Json> expected;
        try {
            expected = journal::parseJson(text);
        } catch (const std::runtime_error&) {
        }
        if (expected) {
            EXPECT_EQ(journal::testing::asJson(parseAnswer(text)).dump(), expected->dump());
        } else {
            EXPECT_THROW(parseAnswer(text), std::runtime_error);
        }
    }
}

// The JSON library stops reading at a NUL byte, so it took "9" followed by a NUL and anything for 9.
TEST(ParseAnswer, RefusesAnyTextAfterTheValueEvenBehindANulByte) {
    for (const std::string text : {std::string("9\0junk", 6), std::string("{\"success\":true}\0{", 18)}) {
        ASSERT_NO_THROW(journal::parseJson(text));
        EXPECT_THROW(parseAnswer(text), std::runtime_error);
    }
}

TEST(ParseAnswer, RefusesHostileNestingInsteadOfOverflowingTheStack) {
    EXPECT_THROW(parseAnswer(nested(100000)), std::runtime_error);
}

TEST(AnswerValueText, GivesWhatWindowsShow) {
    const std::vector<std::pair<std::string, QString>> cases{{R"("Ремонт")", "Ремонт"},
                                                             {"42", "42"},
                                                             {"-7", "-7"},
                                                             {"18446744073709551615", "18446744073709551615"},
                                                             {"18446744073709551616", "1.8446744073709552e+19"},
                                                             {"2.5", "2.5"},
                                                             {"3.0", "3"},
                                                             {"1e2", "100"},
                                                             {"1e20", "1e+20"},
                                                             {"true", "true"},
                                                             {"false", "false"},
                                                             {"null", "null"},
                                                             {"{\"a\":1}", ""},
                                                             {"[1]", ""}};
    for (const auto& [json, text] : cases) {
        EXPECT_EQ(parseAnswer(json).text(), text) << json;
        EXPECT_EQ(parseAnswer(json).text(), journal::textOf(journal::parseJson(json))) << json;
    }
}

TEST(AnswerValueFindPath, FollowsDottedNamesCaseSensitively) {
    const AnswerValue answer = parseAnswer(R"({"list":{"machine":[1],"Repairman":[2]},"data":"text"})");
    ASSERT_TRUE(journal::findPath(answer, "list.machine").has_value());
    EXPECT_EQ(journal::testing::asJson(*journal::findPath(answer, "list.machine")), Json::array({1}));
    EXPECT_FALSE(journal::findPath(answer, "list.repairman").has_value());
    EXPECT_FALSE(journal::findPath(answer, "data.machine").has_value()); // a step that is no object
    EXPECT_FALSE(journal::findPath(answer, "view").has_value());
    EXPECT_EQ(journal::findPath(answer, "data")->text(), "text");
}

// Windows keep lists long after the channel and the rest of the answer are gone.
TEST(AnswerValueLifetime, AMemberKeepsItsAnswer) {
    std::optional<AnswerValue> kept;
    {
        const AnswerValue answer = parseAnswer(R"({"success":true,"data":{"workshop":[{"Title":"Корпус 1"}]}})");
        kept = journal::findPath(answer, "data.workshop");
    }
    parseAnswer(R"({"success":true,"data":{"workshop":[{"Title":"другой"}]}})"); // the parser's buffers serve again
    EXPECT_EQ(journal::testing::asJson(*kept).dump(), R"([{"Title":"Корпус 1"}])");
}

TEST(AnswerValueDefault, IsNull) {
    EXPECT_EQ(AnswerValue().kind(), AnswerValue::Kind::Null);
    EXPECT_FALSE(AnswerValue().member("success").has_value());
}

} // namespace
