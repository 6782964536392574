#include "protocol/JsonWriter.h"

#include <gtest/gtest.h>

namespace journal::protocol {
namespace {

using nlohmann::json;

std::string written(const JsonText& text) {
    std::string whole;
    for (const std::string& piece : text.pieces())
        whole += piece;
    EXPECT_EQ(whole.size(), text.size());
    return whole;
}

std::string dumped(const json& document) {
    return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

struct TextCase {
    const char* name;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class WrittenText : public ::testing::TestWithParam<TextCase> {};

// The client reads the streamed lists exactly as it read the dumped documents: the same bytes for every text.
TEST_P(WrittenText, IsWhatADumpedDocumentHolds) {
    const std::string& value = GetParam().text;
    JsonText text;
    JsonWriter out(text);
    out.beginObject();
    out.key("Description");
    out.string(value);
    out.key("Id");
    out.string("1");
    out.endObject();

    EXPECT_EQ(written(text), dumped({{"Description", value}, {"Id", "1"}}));
}

std::string everyControlCharacter() {
    std::string text;
    for (char c = 0; c < 0x20; ++c)
        text += c;
    return text + "\x7f";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrittenText,
    ::testing::Values(TextCase{"Empty", ""}, TextCase{"Plain", "Станок 16К20, ТС-1"},
                      TextCase{"QuotesAndBackslashes", R"(Пресс "П6330" \ C:\path\)"},
                      TextCase{"ControlCharacters", everyControlCharacter()},
                      TextCase{"ThreeAndFourByteCharacters", "€ 𝄞 😀 \xef\xbf\xbf"},
                      TextCase{"LoneContinuationByte", "a\x80z"}, TextCase{"CutAtTheEnd", "Ремонт\xd0"},
                      TextCase{"CutBeforeAnAsciiByte", "\xe2\x82z"}, TextCase{"Overlong", "\xc0\xaf\xe0\x80\xaf"},
                      TextCase{"Surrogate", "\xed\xa0\x80"}, TextCase{"PastTheLastCodePoint", "\xf4\x90\x80\x80"},
                      TextCase{"NoLeadByte", "\xf5\xff"}, TextCase{"BrokenAmongEscapes", "\"\n\xd0\"\t"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonWriter, NestsAndSeparatesLikeADump) {
    JsonText text;
    JsonWriter out(text);
    out.beginObject();
    out.key("data");
    out.beginObject();
    out.key("machine");
    out.beginArray();
    out.beginArray();
    out.endArray();
    out.beginObject();
    out.endObject();
    out.string("x");
    out.endArray();
    out.key("workshop");
    out.document(json::array({{{"Id", "1"}}}));
    out.endObject();
    out.key("success");
    out.boolean(true);
    out.endObject();

    const json expected = {{"data", {{"machine", {json::array(), json::object(), "x"}}, {"workshop", {{{"Id", "1"}}}}}},
                           {"success", true}};
    EXPECT_EQ(written(text), dumped(expected));
    EXPECT_EQ(json(text), expected);
}

// A long list fills many pieces; a text is never split from its escapes, and nothing is lost at the seams.
TEST(JsonWriter, LongListSpansPiecesWhole) {
    JsonText text;
    JsonWriter out(text);
    json expected = json::array();
    out.beginArray();
    for (int i = 0; i < 20000; ++i) {
        const std::string value = "Запись \"" + std::to_string(i) + "\"\n" + std::string(i % 50, 'x');
        out.string(value);
        expected.push_back(value);
    }
    out.endArray();

    EXPECT_GT(text.pieces().size(), 2u);
    EXPECT_EQ(written(text), dumped(expected));
    EXPECT_EQ(text.takeWhole(), dumped(expected));
}

} // namespace
} // namespace journal::protocol
