#include "JsonText.h"

#include <gtest/gtest.h>

namespace {

using journal::findPath;
using journal::Json;
using journal::parseJson;
using journal::textOf;

TEST(ParseJson, KeepsTheFirstOfRepeatedMemberNamesAtEveryDepth) {
    const Json json = parseJson(R"({"a":1,"b":{"c":"first","c":{"deep":[1]},"d":2},"a":[3,{"x":1}]})");
    EXPECT_EQ(json.dump(), R"({"a":1,"b":{"c":"first","d":2}})");
}

TEST(ParseJson, KeepsMemberOrderAndWhiteSpaceAround) {
    EXPECT_EQ(parseJson(" \t\r\n{\"z\":1,\"a\":2}\n").dump(), R"({"z":1,"a":2})");
}

TEST(ParseJson, RefusesHostileNestingInsteadOfOverflowingTheStack) {
    EXPECT_NO_THROW(parseJson(std::string(500, '[') + std::string(500, ']')));
    EXPECT_THROW(parseJson(std::string(100000, '[') + std::string(100000, ']')), std::runtime_error);
}

class ParseJsonRejects : public testing::TestWithParam<std::string> {};

TEST_P(ParseJsonRejects, AnythingButExactlyOneValue) {
    EXPECT_THROW(parseJson(GetParam()), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseJsonRejects,
                         testing::Values("", "  ", "{\"a\":1}x", "{\"a\":1}{}", "{\"a\":1", "<html></html>", "{'a':1}",
                                         "{\"a\":\"\xff\"}", "[1,]"));

struct TextCase {
    const char* json;
    QString text;
};

class TextOfValue : public testing::TestWithParam<TextCase> {};

TEST_P(TextOfValue, IsWhatWindowsShow) {
    EXPECT_EQ(textOf(parseJson(GetParam().json)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextOfValue,
                         testing::Values(TextCase{R"("Ремонт")", "Ремонт"}, TextCase{"42", "42"}, TextCase{"-7", "-7"},
                                         TextCase{"18446744073709551615", "18446744073709551615"},
                                         TextCase{"2.5", "2.5"}, TextCase{"3.0", "3"}, TextCase{"1e2", "100"},
                                         TextCase{"true", "true"}, TextCase{"false", "false"}, TextCase{"null", "null"},
                                         TextCase{"{\"a\":1}", ""}, TextCase{"[1]", ""}));

TEST(FindPath, FollowsDottedNamesCaseSensitively) {
    const Json answer = parseJson(R"({"list":{"machine":[1],"Repairman":[2]},"data":"text"})");
    ASSERT_NE(findPath(answer, "list.machine"), nullptr);
    EXPECT_EQ(*findPath(answer, "list.machine"), Json::array({1}));
    EXPECT_EQ(findPath(answer, "list.repairman"), nullptr);
    EXPECT_EQ(findPath(answer, "data.machine"), nullptr); // a step that is no object
    EXPECT_EQ(findPath(answer, "view"), nullptr);
    EXPECT_EQ(findPath(answer, "data"), &answer["data"]);
}

} // namespace
