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

// Texts are read eight bytes at a time: every kind of character, whole or broken, at every place in and across
// those words reads as a dumped document has it.
TEST(JsonWriter, EscapesLikeADumpAtEveryOffset) {
    const std::vector<std::string> ascii = {"a", "\"", "\\", "\n", "\x1f", "\x7f"};
    const std::vector<std::string> whole = {"Ж", "ё", "\xc2\x80", "\xdf\xbf", "€", "😀", "Ремонт станка"};
    const std::vector<std::string> broken = {"\xd0",         "\x80",         "\xc0\xaf",         "\xc1\xbf",
                                             "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff"};
    std::vector<std::string> characters = ascii;
    characters.insert(characters.end(), whole.begin(), whole.end());
    characters.insert(characters.end(), broken.begin(), broken.end());
    for (std::size_t offset = 0; offset <= 8; ++offset) {
        for (const std::string& first : characters) {
            for (const std::string& second : characters) {
                for (const std::string& third : characters) {
                    const std::string value = std::string(offset, 'x') + first + second + "Цех" + third;
                    JsonText text;
                    JsonWriter(text).string(value);
                    ASSERT_EQ(written(text), dumped(value)) << ::testing::PrintToString(value);
                }
            }
        }
    }
}

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

// A list broken off midway still ends as one object: what was opened inside is closed, and a member waiting for
// its value gets null.
TEST(JsonWriter, ClosesWhatWasOpenedBeyondADepth) {
    JsonText text;
    JsonWriter out(text);
    out.beginObject();
    out.key("data");
    const std::size_t depth = out.depth();
    out.beginObject();
    out.key("machine");
    out.beginArray();
    out.string("a");
    out.beginObject();
    out.key("Id");
    out.closeTo(depth);
    out.member("error", "x");
    out.endObject();

    EXPECT_EQ(written(text), R"({"data":{"machine":["a",{"Id":null}]},"error":"x"})");
}

// An answer sent while it is written hands over its full pieces; they and the rest are the whole text.
TEST(JsonWriter, HandsFullPiecesToItsSink) {
    std::string sent;
    std::size_t handed = 0;
    JsonText text([&](std::string full) {
        EXPECT_LE(full.size(), JsonText::pieceBytes);
        sent += full;
        ++handed;
        return full; // its room is used again
    });
    JsonWriter out(text);
    json expected = json::array();
    out.beginArray();
    for (int i = 0; i < 20000; ++i) {
        const std::string value = "Запись " + std::to_string(i) + std::string(i % 50, 'x');
        out.string(value);
        expected.push_back(value);
    }
    out.endArray();

    EXPECT_GT(handed, 2u);
    EXPECT_TRUE(text.handedOver());
    EXPECT_EQ(text.size(), dumped(expected).size());
    EXPECT_EQ(sent + text.takeWhole(), dumped(expected));
}

} // namespace
} // namespace journal::protocol
