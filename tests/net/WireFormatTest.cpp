#include "WireFormat.h"

#include <gtest/gtest.h>

namespace {

using journal::asciiJson;
using journal::formBody;
using journal::formEncode;
using journal::wireJson;
using Json = nlohmann::ordered_json;

struct JsonCase {
    const char* name;
    Json value;
    std::string wire;
    std::string ascii;
};

// Names the case in test names and failure messages.
void PrintTo(const JsonCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonWriters : public testing::TestWithParam<JsonCase> {};

TEST_P(JsonWriters, WriteCompactJsonWithTheirEscaping) {
    EXPECT_EQ(wireJson(GetParam().value), GetParam().wire);
    EXPECT_EQ(asciiJson(GetParam().value), GetParam().ascii);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonWriters,
    testing::Values(
        JsonCase{"MembersInInsertionOrder", Json{{"id_service", "0"}, {"command", "save_service"}},
                 R"({"id_service":"0","command":"save_service"})", R"({"id_service":"0","command":"save_service"})"},
        JsonCase{"QuoteBackslashSlash", Json{{"a", "\"\\/"}}, R"({"a":"\"\\\/"})", R"({"a":"\"\\\/"})"},
        JsonCase{"NamedControls", Json{{"a", "\b\t\n\f\r"}}, R"({"a":"\b\t\n\f\r"})", R"({"a":"\b\t\n\f\r"})"},
        JsonCase{"OtherControlsAsUnicodeEscapes", Json{{"a", std::string("\x01\x1f\0", 3)}},
                 R"({"a":"\u0001\u001F\u0000"})", R"({"a":"\u0001\u001F\u0000"})"},
        JsonCase{"CyrillicRawOnTheWireEscapedInAscii", Json{{"a", "Цех №1"}}, "{\"a\":\"Цех №1\"}",
                 R"({"a":"\u0426\u0435\u0445 \u21161"})"},
        JsonCase{"CharacterBeyondBmpAsSurrogatePair", Json{{"a", "😀"}}, "{\"a\":\"😀\"}", R"({"a":"\uD83D\uDE00"})"},
        JsonCase{"EscapedMemberNames", Json{{"a/b", 1}}, R"({"a\/b":1})", R"({"a\/b":1})"},
        JsonCase{"NestedValues", Json{{"list", Json::array({1, 2.5, true, nullptr, Json::object()})}},
                 R"({"list":[1,2.5,true,null,{}]})", R"({"list":[1,2.5,true,null,{}]})"},
        JsonCase{"EmptyStringKept", Json{{"search", ""}}, R"({"search":""})", R"({"search":""})"}));

struct FormCase {
    const char* name;
    std::string value;
    std::string encoded;
};

// Names the case in test names and failure messages.
void PrintTo(const FormCase& c, std::ostream* os) {
    *os << c.name;
}

class FormEncoding : public testing::TestWithParam<FormCase> {};

TEST_P(FormEncoding, FollowsTheUrlencodedSerialization) {
    EXPECT_EQ(formEncode(GetParam().value), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormEncoding,
                         testing::Values(FormCase{"Unreserved", "Az09*-._", "Az09*-._"},
                                         FormCase{"SpaceAsPlus", "a b", "a+b"},
                                         FormCase{"PercentAndPlus", "%+", "%25%2B"},
                                         FormCase{"Punctuation", "\"{}:,/\\&=~", "%22%7B%7D%3A%2C%2F%5C%26%3D%7E"},
                                         FormCase{"ControlBytes", "\n\x7f", "%0A%7F"},
                                         FormCase{"CyrillicBytes", "Ц", "%D0%A6"}, FormCase{"Empty", "", ""}));

TEST(FormBody, CarriesDataFirstAndKeyLast) {
    const Json command{{"command", "search_machine"}, {"search", "Станок 1/2"}};
    EXPECT_EQ(formBody(journal::wireJson(command), "QmWrTsXnPdKa"),
              "data=%7B%22command%22%3A%22search_machine%22%2C%22search%22%3A%22"
              "%D0%A1%D1%82%D0%B0%D0%BD%D0%BE%D0%BA+1%5C%2F2%22%7D&key=QmWrTsXnPdKa");
}

} // namespace
