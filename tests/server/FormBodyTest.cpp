#include "http/FormBody.h"

#include <gtest/gtest.h>

namespace journal::http {
namespace {

using Fields = std::map<std::string, std::string>;

TEST(DecodeForm, ReadsTheClientsEncoding) {
    EXPECT_EQ(decodeForm("data=%7B%22a%22%3A%22%D0%96+%2B%22%7D&key=QmWrTsXnPdKa"),
              (Fields{{"data", R"({"a":"Ж +"})"}, {"key", "QmWrTsXnPdKa"}}));
    EXPECT_EQ(decodeForm(""), Fields{});
    EXPECT_EQ(decodeForm("a=&&b=2"), (Fields{{"a", ""}, {"b", "2"}}));
    EXPECT_EQ(decodeForm("key=first&key=second"), (Fields{{"key", "first"}}));
}

TEST(DecodeForm, RefusesBrokenBodies) {
    for (const char* body : {"data=%", "data=%4", "data=%G0", "data=%%41", "data", "a=1&b"})
        EXPECT_EQ(decodeForm(body), std::nullopt) << body;
}

TEST(IsFormContentType, AcceptsParametersAndCase) {
    EXPECT_TRUE(isFormContentType("application/x-www-form-urlencoded; charset=utf-8"));
    EXPECT_TRUE(isFormContentType("Application/X-WWW-Form-Urlencoded"));
    EXPECT_FALSE(isFormContentType("application/json"));
    EXPECT_FALSE(isFormContentType(""));
}

} // namespace
} // namespace journal::http
