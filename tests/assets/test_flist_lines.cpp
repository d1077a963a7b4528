// Name lists scrolled by rotation and filled from text files.
#include <string>

#include "assets/texbase.h"
#include "scratch.h"

namespace {

using FListText = ScratchFolder;

TF_list Of(std::initializer_list<const char*> names) {
    TF_list list;
    for (const char* name : names) FList_Add(list, name);
    return list;
}

std::vector<std::string> Names(const TF_list& list) {
    return std::vector<std::string>(list.names.begin(), list.names.begin() + list.count);
}

TEST(FListRotate, PlusOneMovesTheLastToTheFrontMinusOneTheFirstToTheEnd) {
    TF_list list = Of({"a", "b", "c", "d"});
    FList_Rotate(list, +1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"d", "a", "b", "c"}));
    FList_Rotate(list, -1);
    FList_Rotate(list, -1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "d", "a"}));
    EXPECT_EQ(list.names[4], "");   // nothing past the count is touched
}

TEST(FListRotate, OneEntryNoEntriesAndOtherDirectionsChangeNothing) {
    TF_list one = Of({"only"});
    FList_Rotate(one, +1);
    FList_Rotate(one, -1);
    EXPECT_EQ(Names(one), (std::vector<std::string>{"only"}));
    TF_list none;
    FList_Rotate(none, +1);
    FList_Rotate(none, -1);
    EXPECT_EQ(none.count, 0);
    TF_list list = Of({"a", "b", "c"});
    for (int direction : {0, 2, -2, 1000}) FList_Rotate(list, direction);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(FListRotate, AFullListRotatesAndADamagedCountIsLeftAlone) {
    TF_list list;
    for (int i = 0; i < FLIST_CAPACITY; ++i) FList_Add(list, std::to_string(i));
    FList_Rotate(list, +1);
    EXPECT_EQ(list.names[0], "1024");
    EXPECT_EQ(list.names[1024], "1023");
    FList_Rotate(list, -1);
    EXPECT_EQ(list.names[0], "0");
    list.count = FLIST_CAPACITY + 1;
    FList_Rotate(list, +1);
    list.count = -1;
    FList_Rotate(list, -1);
    EXPECT_EQ(list.names[0], "0");
    EXPECT_EQ(list.names[1024], "1024");
}

// A line longer than a list entry can sensibly be is cut; the next line is read as usual.
TEST_F(FListText, ALongLineIsCutAt256Bytes) {
    WriteBytes("gfx/obj/list.txt", std::string(1u << 20, 'x') + "\r\nlamp\r\n");
    const TF_list list = FList_FromTextFile("gfx\\obj\\list.txt");
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.names[0], std::string(FLIST_LINE_BYTES, 'x'));
    EXPECT_EQ(list.names[1], "lamp");
}

TEST_F(FListText, ReadsLinesWithLfOrCrLfEnds) {
    WriteBytes("gfx/obj/list.txt", "lnd_sand\r\nlnd_grass\nlamp\r\n");
    EXPECT_EQ(Names(FList_FromTextFile("gfx\\obj\\list.txt")),
              (std::vector<std::string>{"lnd_sand", "lnd_grass", "lamp"}));
}

TEST_F(FListText, EmptyLinesCountALastLineNeedsNoEndAndAFinalEndAddsNothing) {
    WriteBytes("txt/a.txt", "one\n\n\r\nlast");
    EXPECT_EQ(Names(FList_FromTextFile("txt/a.txt")), (std::vector<std::string>{"one", "", "", "last"}));
    WriteBytes("txt/b.txt", "\n");
    EXPECT_EQ(Names(FList_FromTextFile("txt/b.txt")), (std::vector<std::string>{""}));
    WriteBytes("txt/c.txt", "");
    EXPECT_EQ(FList_FromTextFile("txt/c.txt").count, 0);
    WriteBytes("txt/d.txt", "a b\tc \r\n x\r");
    EXPECT_EQ(Names(FList_FromTextFile("txt/d.txt")), (std::vector<std::string>{"a b\tc ", " x"}));
}

TEST_F(FListText, AMissingFileOrAFolderGivesAnEmptyList) {
    EXPECT_EQ(FList_FromTextFile("gfx\\obj\\list.txt").count, 0);
    MakeFolder("gfx/obj/list.txt");
    EXPECT_EQ(FList_FromTextFile("gfx\\obj\\list.txt").count, 0);
}

TEST_F(FListText, OnlyTheFirst1025LinesFit) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "n" + std::to_string(i) + "\r\n";
    WriteBytes("txt/long.txt", text);
    const TF_list list = FList_FromTextFile("txt/long.txt");
    EXPECT_EQ(list.count, 1025);
    EXPECT_EQ(list.names[0], "n0");
    EXPECT_EQ(list.names[1024], "n1024");
}

TEST_F(FListText, BinaryBytesStayInTheirLine) {
    WriteBytes("txt/bin.txt", std::string("a\0b\nc\r\r\n", 8));
    const TF_list list = FList_FromTextFile("txt/bin.txt");
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.names[0], std::string("a\0b", 3));
    EXPECT_EQ(list.names[1], "c\r");   // only the CR of the line end goes
}

}  // namespace
