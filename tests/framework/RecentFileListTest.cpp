#include "framework/RecentFileList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RecentFileListTest, MenuTextsAreNumberedAndShortenedToThirtyCharacters)
{
    struct Row {
        const char* path;
        const char* text;
    };
    const Row rows[] = {
        {"/tmp/a.cmp", "&1 /tmp/a.cmp"},
        {"/home/someone/colormaps/levels/01narshadda.cmp", "&1 /home/.../01narshadda.cmp"},
        {"/home/someone/colormaps/lv/dark.cmp", "&1 /home/.../lv/dark.cmp"},
        {"C:\\Games\\Jedi Knight\\Resource\\misc\\cmp\\01narsh.cmp",
         "&1 C:\\...\\misc\\cmp\\01narsh.cmp"},
        {"/data/a_file_name_that_is_far_too_long_to_show.cmp", "&1 a_file_name_that_is_far_too_lo"},
        {"/tmp/Black & White.cmp", "&1 /tmp/Black && White.cmp"},
    };
    for (const Row& row : rows) {
        RecentFileList list(5);
        list.Add(row.path);
        EXPECT_EQ(list.GetMenuText(0, 30), row.text) << row.path;
    }
}

TEST(RecentFileListTest, KeepsEachPathOnceNewestFirstUpToItsSize)
{
    RecentFileList list(3);
    list.SetEntries({"a", "", "b", "a", "c", "d"});
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string>{"a", "b", "c"}));
    list.Add("c");
    list.Add("e");
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string>{"e", "c", "a"}));
    list.Remove(1);
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string>{"e", "a"}));
}

} // namespace
