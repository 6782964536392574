#include "JsonText.h"

#include "QStringPrinter.h"

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

TEST(ParseJson, RejectsAnythingButExactlyOneValue) {
    for (const std::string text :
         {"", "  ", "{\"a\":1}x", "{\"a\":1}{}", "{\"a\":1", "<html></html>", "{'a':1}", "{\"a\":\"\xff\"}", "[1,]"}) {
        EXPECT_THROW(parseJson(text), std::runtime_error) << text;
    }
}

TEST(TextOf, GivesWhatWindowsShow) {
    const std::vector<std::pair<std::string, QString>> cases{{R"("Ремонт")", "Ремонт"},
                                                             {"42", "42"},
                                                             {"-7", "-7"},
                                                             {"18446744073709551615", "18446744073709551615"},
                                                             {"2.5", "2.5"},
                                                             {"3.0", "3"},
                                                             {"1e2", "100"},
                                                             {"true", "true"},
                                                             {"false", "false"},
                                                             {"null", "null"},
                                                             {"{\"a\":1}", ""},
                                                             {"[1]", ""}};
    for (const auto& [json, text] : cases) {
        EXPECT_EQ(textOf(parseJson(json)), text) << json;
    }
}

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
