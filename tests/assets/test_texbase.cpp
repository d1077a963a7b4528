// Texture registries and name lists, loaded from scratch folders of tiny images.
#include <cstdio>
#include <memory>
#include <string>

#include "assets/texbase.h"
#include "scratch.h"

namespace {

class TexBaseTest : public ScratchFolder {
protected:
    std::unique_ptr<TBase> base_ = std::make_unique<TBase>();
    TBase& base() { return *base_; }
};

int Width(OE_Texture t) { return t ? t->width : -1; }

TEST(StripExt, CutsFromTheLastDotOfTheFileName) {
    EXPECT_EQ(StripExt("car_wh1.tga"), "car_wh1");
    EXPECT_EQ(StripExt("a.b.tga"), "a.b");
    EXPECT_EQ(StripExt("Alice"), "Alice");
    EXPECT_EQ(StripExt("x."), "x");
    EXPECT_EQ(StripExt(".tga"), "");
    EXPECT_EQ(StripExt("gfx\\obj\\x.tga"), "gfx\\obj\\x");
    EXPECT_EQ(StripExt("gfx.v2\\obj\\x"), "gfx.v2\\obj\\x");
    EXPECT_EQ(StripExt("c.d:name"), "c.d:name");
    EXPECT_EQ(StripExt("old.d/name"), "old.d/name");
    EXPECT_EQ(StripExt(""), "");
}

TEST(FList, AddAppendsAndClearEmpties) {
    TF_list list;
    FList_Add(list, "one");
    FList_Add(list, "two");
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.names[0], "one");
    EXPECT_EQ(list.names[1], "two");
    FList_Clear(list);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.names[0], "");
    EXPECT_EQ(list.names[1], "");
}

TEST(FList, AFullListDropsFurtherNames) {
    TF_list list;
    for (int i = 0; i < FLIST_CAPACITY + 5; ++i) FList_Add(list, "n" + std::to_string(i));
    EXPECT_EQ(list.count, 1025);
    EXPECT_EQ(list.names[1024], "n1024");
    EXPECT_EQ(list.names[0], "n0");
    list.count = -3;   // a damaged count must not index outside the table either
    FList_Add(list, "x");
    EXPECT_EQ(list.count, -3);
}

TEST_F(TexBaseTest, FolderListingGivesSortedNamesWithoutPath) {
    WriteBytes("prf/bob", "1");
    WriteBytes("prf/Alice", "1");
    WriteBytes("prf/x.y", "1");
    MakeFolder("prf/folder");
    const TF_list list = FList_FromFolder("prf\\*.*");
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.names[0], "Alice");
    EXPECT_EQ(list.names[1], "bob");
    EXPECT_EQ(list.names[2], "x.y");
    EXPECT_EQ(list.names[3], "");
}

TEST_F(TexBaseTest, FolderListingOfSubfoldersOnlyOrMissingFolderIsEmpty) {
    MakeFolder("prf/a");
    MakeFolder("prf/b.c");
    EXPECT_EQ(FList_FromFolder("prf\\*.*").count, 0);
    EXPECT_EQ(FList_FromFolder("nope\\*.*").count, 0);
    EXPECT_EQ(FList_FromFolder("gfx\\obj\\*.tga").count, 0);
}

TEST_F(TexBaseTest, FolderListingKeepsOnlyTheFirst1025Names) {
    MakeFolder("many");
    for (int i = 0; i < FLIST_CAPACITY + 4; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "many/f%04d.txt", i);
        WriteBytes(name, "");
    }
    const TF_list list = FList_FromFolder("many\\*.txt");
    EXPECT_EQ(list.count, 1025);
    EXPECT_EQ(list.names[0], "f0000.txt");
    EXPECT_EQ(list.names[1024], "f1024.txt");
}

TEST_F(TexBaseTest, TgaComesBeforeJpgOfTheSameName) {
    WriteJpg("gfx/share/a.jpg", 5, 4);
    WriteTga("gfx/share/a.tga", 3, 2);
    TexBase_LoadFolder(base(), "gfx\\share\\");
    ASSERT_EQ(base().count, 2);
    EXPECT_EQ(base().entries[0].name, "a");
    EXPECT_EQ(base().entries[1].name, "a");
    EXPECT_EQ(Width(base().entries[1].texture), 5);
    ASSERT_NE(TexBase_Find(base(), "a"), nullptr);
    EXPECT_EQ(TexBase_Find(base(), "a"), base().entries[0].texture);
    EXPECT_EQ(TexBase_Find(base(), "a")->width, 3);
    EXPECT_EQ(TexBase_Find(base(), "a")->height, 2);
}

TEST_F(TexBaseTest, LoadsEachFileWithTheFontsKeyAndFlags) {
    WriteTga("gfx/obj/x.tga", 2, 2);
    WriteJpg("gfx/obj/y.jpg", 2, 2);
    TexBase_LoadFolder(base(), "gfx\\obj\\");
    const auto loads = Calls("Tex_LoadFromFile");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].text, "gfx\\obj\\x.tga");
    EXPECT_EQ(loads[0].args, (std::vector<double>{-1, 266}));
    EXPECT_EQ(loads[1].text, "gfx\\obj\\y.jpg");
    EXPECT_EQ(loads[1].args, (std::vector<double>{-1, 266}));
}

TEST_F(TexBaseTest, NamesAreFileStemsWithoutFolder) {
    WriteTga("gfx/obj/x.tga", 1, 1);
    WriteTga("gfx/obj/a.b.tga", 2, 1);
    WriteTga("gfx/obj/car_wh1.tga", 4, 1);
    TexBase_LoadFolder(base(), "gfx\\obj\\");
    ASSERT_EQ(base().count, 3);
    EXPECT_EQ(base().entries[0].name, "a.b");
    EXPECT_EQ(base().entries[1].name, "car_wh1");
    EXPECT_EQ(base().entries[2].name, "x");
    EXPECT_EQ(Width(TexBase_Find(base(), "x")), 1);
    EXPECT_EQ(Width(TexBase_Find(base(), "car_wh1")), 4);
}

TEST_F(TexBaseTest, UnknownOrCaseDifferingNameGivesEntryZero) {
    WriteTga("gfx/obj/A0.tga", 1, 1);
    WriteTga("gfx/obj/Car.tga", 2, 2);
    TexBase_LoadFolder(base(), "gfx\\obj\\");
    ASSERT_EQ(base().entries[0].name, "A0");
    EXPECT_EQ(Width(TexBase_Find(base(), "Car")), 2);
    EXPECT_EQ(TexBase_Find(base(), "car"), base().entries[0].texture);
    EXPECT_EQ(TexBase_Find(base(), "CAR"), base().entries[0].texture);
    EXPECT_EQ(TexBase_Find(base(), "Car.tga"), base().entries[0].texture);
    EXPECT_EQ(TexBase_Find(base(), ""), base().entries[0].texture);
    EXPECT_EQ(Width(TexBase_Find(base(), "car")), 1);
}

TEST_F(TexBaseTest, OnlyJpgFilesMakeTheFirstJpgEntryZero) {
    WriteJpg("gfx/share/z.jpg", 3, 3);
    WriteJpg("gfx/share/m.jpg", 7, 7);
    TexBase_LoadFolder(base(), "gfx\\share\\");
    ASSERT_EQ(base().count, 2);
    EXPECT_EQ(base().entries[0].name, "m");
    EXPECT_EQ(Width(TexBase_Find(base(), "missing")), 7);
    EXPECT_EQ(Width(TexBase_Find(base(), "z")), 3);
}

TEST_F(TexBaseTest, EmptyRegistryGivesNull) {
    EXPECT_EQ(TexBase_Find(base(), "anything"), nullptr);
    EXPECT_EQ(TexBase_Find(base(), ""), nullptr);
    TexBase_LoadFolder(base(), "gfx\\missing\\");
    EXPECT_EQ(base().count, 0);
    EXPECT_EQ(TexBase_Find(base(), "anything"), nullptr);
    MakeFolder("gfx/empty/sub.tga");
    TexBase_LoadFolder(base(), "gfx\\empty\\");
    EXPECT_EQ(base().count, 0);
    EXPECT_EQ(TexBase_Find(base(), "sub"), nullptr);
}

TEST_F(TexBaseTest, CorruptFileStillGetsAnEntryWithNull) {
    WriteTga("gfx/obj/good.tga", 2, 2);
    WriteBytes("gfx/obj/zbad.tga", "not an image at all");
    WriteBytes("gfx/obj/zcut.jpg", std::string("\xFF\xD8\xFF\xE0", 4));
    TexBase_LoadFolder(base(), "gfx\\obj\\");
    ASSERT_EQ(base().count, 3);
    EXPECT_EQ(base().entries[1].name, "zbad");
    EXPECT_EQ(base().entries[1].texture, nullptr);
    EXPECT_EQ(base().entries[2].name, "zcut");
    EXPECT_EQ(TexBase_Find(base(), "zbad"), nullptr);
    EXPECT_EQ(TexBase_Find(base(), "zcut"), nullptr);
    EXPECT_EQ(Width(TexBase_Find(base(), "other")), 2);
}

TEST_F(TexBaseTest, AddKeepsTheFileNameAfterBackslashOrColon) {
    WriteTga("gfx/obj/x.tga", 1, 1);
    TexBase_Add(base(), "gfx\\obj\\x.tga");
    TexBase_Add(base(), "C:missing.tga");
    TexBase_Add(base(), "missing");
    ASSERT_EQ(base().count, 3);
    EXPECT_EQ(base().entries[0].name, "x");
    EXPECT_EQ(base().entries[1].name, "missing");
    EXPECT_EQ(base().entries[1].texture, nullptr);
    EXPECT_EQ(base().entries[2].name, "missing");
}

TEST_F(TexBaseTest, AFullRegistryIgnoresFurtherFiles) {
    WriteTga("gfx/obj/first.tga", 3, 3);
    TexBase_Add(base(), "gfx\\obj\\first.tga");
    oe::Recorder_Enable(false);
    for (int i = 1; i < TEXBASE_CAPACITY; ++i) TexBase_Add(base(), "gfx\\obj\\n" + std::to_string(i) + ".tga");
    ASSERT_EQ(base().count, 4097);
    EXPECT_EQ(base().entries[4096].name, "n4096");
    oe::Recorder_Enable(true);
    TexBase_Add(base(), "gfx\\obj\\n4097.tga");
    TexBase_Add(base(), "gfx\\obj\\first.tga");
    EXPECT_EQ(base().count, 4097);
    EXPECT_TRUE(Calls("Tex_LoadFromFile").empty());   // not even loaded
    EXPECT_EQ(TexBase_Find(base(), "n4096"), nullptr);   // found: its load failed
    EXPECT_EQ(Width(TexBase_Find(base(), "n4097")), 3);  // never added: entry 0
}

TEST(TexBaseGlobals, BothRegistriesStartEmpty) {
    EXPECT_EQ(share_registry.count, 0);
    EXPECT_EQ(object_registry.count, 0);
    EXPECT_EQ(TexBase_Find(share_registry, "g_wnd"), nullptr);
    EXPECT_EQ(TexBase_Find(object_registry, "lamp1"), nullptr);
    EXPECT_NE(&share_registry, &object_registry);
}

}  // namespace
