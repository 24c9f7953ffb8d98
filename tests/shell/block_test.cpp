// Per-user data blocks in the game's preferences: the user guard, sizes on
// load and reset, kinds found by name, and what a save leaves on disk.
#include "game/shell/blockstore.h"

#include <cstring>

#include "tests/shell/shelltesting.h"

namespace {

class BlockTest : public ShellTest {};

TEST_F(BlockTest, WithoutUserOnlyBlocksThatAllowItUseTheGlobalScope) {
    VGame::Create();
    Prefs().SetInt(TPrefs::kGlobal, "needs_user", 7, false);
    Prefs().SetInt(TPrefs::kGlobal, "global_ok", 9, false);
    auto needsUser = RIntBlock::Create("needs_user", 1, false);
    auto globalOk = RIntBlock::Create("global_ok", 1, true);
    needsUser->Load();
    globalOk->Load();
    EXPECT_EQ(needsUser->GetValue(), 1);
    EXPECT_EQ(globalOk->GetValue(), 9);

    needsUser->SetValue(3);
    globalOk->SetValue(4);
    needsUser->Save();
    globalOk->Save();
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "needs_user", 0), 7);
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "global_ok", 0), 4);
    EXPECT_EQ(Prefs().GetNumUsers(), 0);
}

TEST_F(BlockTest, WithoutGameNothingLoadsOrSaves) {
    auto block = VBinaryBlock::Create("level_status", 4, 'x', true);
    block->GetData()[0] = 'a';
    block->Load();
    block->Save();
    EXPECT_EQ(block->GetSize(), 4);
    EXPECT_EQ(block->GetData()[0], 'a');
}

TEST_F(BlockTest, BinaryBlockLoadsAtTheStoredLengthAndResetsToItsDefault) {
    CreateGameWithUser();
    std::string stored(40, '\x5a');
    Prefs().SetData(0, "tutorials", stored.data(), 40, false);
    auto block = VBinaryBlock::Create("tutorials", 16, 0, false);
    block->Load();
    ASSERT_EQ(block->GetSize(), 40);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block->GetData()), 40), stored);

    block->Reset();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block->GetData()), block->GetSize()), std::string(16, '\0'));
}

TEST_F(BlockTest, MissingOrEmptyEntryResetsTheBlock) {
    CreateGameWithUser();
    Prefs().SetData(0, "empty", "", 0, false);
    for (const char* name : {"absent", "empty"}) {
        SCOPED_TRACE(name);
        auto block = VBinaryBlock::Create(name, 3, '\xff', false);
        block->Resize(10);
        block->Load();
        EXPECT_EQ(std::string(reinterpret_cast<char*>(block->GetData()), block->GetSize()), std::string(3, '\xff'));
    }
}

TEST_F(BlockTest, NegativeSizesCountAsZero) {
    auto block = VBinaryBlock::Create("odd", -5, 1, true);
    EXPECT_EQ(block->GetSize(), 0);
    block->Resize(8);
    block->Resize(-1);
    EXPECT_EQ(block->GetSize(), 0);
    block->Reset();
    EXPECT_EQ(block->GetSize(), 0);
}

TEST_F(BlockTest, ResizeKeepsTheLeadingBytes) {
    auto block = VBinaryBlock::Create("b", 4, 7, true);
    block->GetData()[3] = 9;
    block->Resize(6);
    EXPECT_EQ(block->GetSize(), 6);
    EXPECT_EQ(block->GetData()[3], 9);
    block->Resize(2);
    EXPECT_EQ(block->GetSize(), 2);
    EXPECT_EQ(block->GetData()[1], 7);
}

TEST_F(BlockTest, IndexedBytesAndIntegersReadZeroPastTheDataAndGrowItWhenWritten) {
    auto block = VBinaryBlock::Create("b", 8, 7, true);
    block->Resize(6);
    // Integer 1 has only its low two bytes left.
    const std::pair<int, int32_t> reads[] = {{0, 0x07070707}, {1, 0x0707}, {2, 0}, {-1, 0}, {INT32_MAX, 0}};
    for (const auto& [index, value] : reads) EXPECT_EQ(block->ReadInt(index), value) << index;
    EXPECT_EQ(block->ReadByte(5), 7);
    EXPECT_EQ(block->ReadByte(6), 0);
    EXPECT_EQ(block->ReadByte(-1), 0);

    block->WriteInt(1, -2);
    EXPECT_EQ(block->GetSize(), 8);
    EXPECT_EQ(block->ReadInt(1), -2);
    EXPECT_EQ(block->GetData()[4], 0xFE);
    EXPECT_EQ(block->GetData()[7], 0xFF);
    block->WriteByte(11, 3);
    EXPECT_EQ(block->GetSize(), 12);
    EXPECT_EQ(block->GetData()[8], 7);
    EXPECT_EQ(block->ReadByte(11), 3);
    block->WriteByte(-1, 3);
    block->WriteInt(-1, 3);
    EXPECT_EQ(block->GetSize(), 12);
}

TEST_F(BlockTest, StoreFindsKindsByNameAndFirstRegisteredWins) {
    VBlockStore store;
    auto first = RIntBlock::Create("score", 1, false);
    store.Add(first);
    store.Add(RIntBlock::Create("score", 2, false));
    store.Add(VBinaryBlock::Create("achievements", 100, 0, false));
    store.Add(nullptr);

    EXPECT_EQ(store.Find("score"), first);
    EXPECT_EQ(store.GetIntBlock("score"), first);
    EXPECT_EQ(store.GetIntBlock("achievements"), nullptr);
    EXPECT_EQ(store.GetBinaryBlock("score"), nullptr);
    ASSERT_NE(store.GetBinaryBlock("achievements"), nullptr);
    EXPECT_EQ(store.GetIntBlock("missing"), nullptr);
    EXPECT_STREQ(store.Find("achievements")->GetClassName(), "VBinaryBlock");
    store.Clear();
    EXPECT_EQ(store.Find("score"), nullptr);
}

TEST_F(BlockTest, SavedBlocksAreReadBackFromDiskByTheNextGame) {
    CreateGameWithUser();
    VBlockStore store;
    auto score = RIntBlock::Create("score", 0, false);
    auto plot = VBinaryBlock::Create("plot_namche", 60, 0, false);
    store.Add(score);
    store.Add(plot);
    score->SetValue(1234);
    plot->Resize(5);
    std::memcpy(plot->GetData(), "abcde", 5);
    store.SaveAll();

    // A new game reads the file the saves wrote at once.
    VGame::Create();
    store.ResetAll(false);
    EXPECT_EQ(score->GetValue(), 0);
    EXPECT_EQ(plot->GetSize(), 60);
    store.LoadAll();
    EXPECT_EQ(score->GetValue(), 1234);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(plot->GetData()), plot->GetSize()), "abcde");
    EXPECT_EQ(Prefs().GetInt(0, "score", 0), 1234);

    store.ResetAll(true);
    VGame::Create();
    store.LoadAll();
    EXPECT_EQ(score->GetValue(), 0);
    EXPECT_EQ(plot->GetSize(), 60);
}

}  // namespace
