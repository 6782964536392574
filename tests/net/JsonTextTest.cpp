#include "JsonText.h"

#include <gtest/gtest.h>

namespace {

using journal::Json;
using journal::parseJson;

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

} // namespace
