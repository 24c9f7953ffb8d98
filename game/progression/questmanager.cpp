#include "game/progression/questmanager.h"

#include <algorithm>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "foundation/debuglog.h"
#include "foundation/readfile.h"
#include "game/level/upgrademanager.h"
#include "game/objects/objectdescription.h"
#include "game/progression/quest.h"
#include "game/shell/block.h"
#include "game/shell/luastyle.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"

namespace {

const char kQuestBlock[] = "quest_block";
const char kQuestsTable[] = "quests";

// Runs the file in the script's state and hands out its table "quests";
// null, with one log line, when the file does not run or defines none.
std::unique_ptr<TLuaTable> RunQuestScript(TScript& script, const TString& fileName) {
    std::string source;
    if (!ReadWholeFile(fileName, source)) {
        DebugLog("Quests: %s: cannot read the file", fileName.c_str());
        return nullptr;
    }
    lua_State* L = script.GetState();
    // "@": messages name the file as a file.
    TString chunkName = TString("@") + fileName;
    if (luaL_loadbuffer(L, source.data(), source.size(), chunkName.c_str()) != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        DebugLog("Quests: %s: %s", fileName.c_str(), message ? message : "the script failed");
        lua_pop(L, 1);
        return nullptr;
    }
    std::unique_ptr<TLuaTable> quests(script.GetGlobalTable(kQuestsTable));
    if (!quests) DebugLog("Quests: %s: no table \"%s\"", fileName.c_str(), kQuestsTable);
    return quests;
}

}  // namespace

void VQuestManager::LoadQuests(const TString& fileName) {
    mQuests.clear();
    mActive.clear();
    // Declared first, the state closes after every wrapper of its values.
    TScript script;
    std::unique_ptr<TLuaTable> quests = RunQuestScript(script, fileName);
    if (!quests) return;
    // Slots follow the byte order of the keys, the same from run to run.
    std::map<TString, std::shared_ptr<VLuaStyle>> descriptions;
    ForEachTableEntry(*quests, [&descriptions](const TString& key, const TLuaObjectWrapper& value) {
        if (value.IsTable()) descriptions[key] = VLuaStyle::CreateFromObject(nullptr, value);
    });
    std::shared_ptr<VBinaryBlock> block = GetQuestBlock();
    int slot = 0;
    for (const auto& [key, description] : descriptions) {
        TString name = LowerCase(key);
        std::shared_ptr<VQuest> quest = VQuest::Create(name, slot++);
        quest->Load(*description);
        quest->LoadState(*block);
        mQuests[name] = quest;
    }
}

void VQuestManager::LoadQuestStates() {
    std::shared_ptr<VBinaryBlock> block = GetQuestBlock();
    block->Load();
    for (const auto& [name, quest] : mQuests) quest->LoadState(*block);
}

void VQuestManager::SetLevel(int level) {
    mActive.clear();
    mResultText = TString();
    for (const auto& [name, quest] : mQuests) {
        if (quest->IsAvailable(level)) mActive.push_back(quest);
    }
    std::sort(mActive.begin(), mActive.end(),
              [](const auto& a, const auto& b) { return a->GetSlot() < b->GetSlot(); });
}

TString VQuestManager::FinishLevel() {
    for (const auto& quest : mActive) quest->Check();
    std::shared_ptr<VBinaryBlock> block = GetQuestBlock();
    mResultText = TString();
    for (const auto& quest : mActive) {
        quest->SaveState(*block);
        TString text = quest->GetResultText();
        if (text.Length() == 0) continue;
        if (mResultText.Length() > 0) mResultText += "\n";
        mResultText += text;
    }
    block->Save();
    return mResultText;
}

void VQuestManager::Clear() {
    mQuests.clear();
    mActive.clear();
    mResultText = TString();
}

void VQuestManager::ApplyReveals() {
    for (const auto& [name, quest] : mQuests) {
        if (quest->IsComplete() && quest->GetRewardType() == "reveal" && quest->GetReward().Length() > 0) {
            VUpgradeManager::Get()->RevealUpgrade(quest->GetReward(), quest->GetRewardCategory());
        }
    }
}

std::shared_ptr<VBinaryBlock> VQuestManager::GetQuestBlock() {
    if (!mBlock) {
        mBlock = VBinaryBlock::Create(kQuestBlock, kQuestBlockSize, 0, false);
        mBlock->Load();
    }
    return mBlock;
}

std::shared_ptr<VQuest> VQuestManager::FindQuest(const TString& name) const {
    auto found = mQuests.find(LowerCase(name));
    return found != mQuests.end() ? found->second : nullptr;
}
