#include "framework/ShellRequest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Command = ShellRequest::Command;

TEST(ShellRequestTest, EscapesQuotesAndBackslashesAndReadsBackWhatItWrote)
{
    const struct {
        ShellRequest request;
        std::string text;
    } cases[] = {
        {{Command::open, {"/home/u/a.cmp"}}, R"([open("/home/u/a.cmp")])"},
        {{Command::print, {R"(/x/"quoted" \back\.cmp)"}},
         R"([print("/x/\"quoted\" \\back\\.cmp")])"},
        {{Command::open, {"/x/two\nlines,(\xC3\xBC\xE2\x82\xAC\xF0\x9F\x8E\xA8)].cmp"}},
         "[open(\"/x/two\nlines,(\xC3\xBC\xE2\x82\xAC\xF0\x9F\x8E\xA8)].cmp\")]"},
        {{Command::printTo, {"/a.cmp", "Office \"2\"", "", "ipp://host"}},
         R"([printto("/a.cmp","Office \"2\"","","ipp://host")])"},
        {{Command::activate, {"kwin-123_TIME456"}}, R"([activate("kwin-123_TIME456")])"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.request.Encode(), row.text);
        EXPECT_EQ(ShellRequest::Parse(row.text), row.request);
    }
}

TEST(ShellRequestTest, RefusesAnythingButOneWellFormedRequest)
{
    const std::vector<std::string> malformed = {
        "",
        "[open(\"/a\")",
        "[open(\"/a\")] ",
        "[open(\"/a\")][open(\"/b\")]",
        "open(\"/a\")",
        "[Open(\"/a\")]",
        "[close(\"/a\")]",
        "[open(/a)]",
        "[open(\"/a)]",
        "[open(\"\")]",
        "[open(\"/a\",\"/b\")]",
        "[open()]",
        "[print(\"/a\" )]",
        "[printto(\"/a\",\"p\",\"d\")]",
        R"([open("/a\n")])",
        "[open(\"/a\\\")]",
        std::string("[open(\"/a\0b\")]", 14),
        "[open(\"/\xC3\")]",
        "[open(\"/\xC0\xAF\")]",
        "[open(\"/\xED\xA0\x80\")]",
        "[open(\"/\xF4\x90\x80\x80\")]",
    };
    for (const std::string& text : malformed) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ShellRequest::Parse(text).has_value());
    }
}

} // namespace
