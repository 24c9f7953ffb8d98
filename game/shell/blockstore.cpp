#include "game/shell/blockstore.h"

void VBlockStore::Add(const std::shared_ptr<RBlock>& block) {
    if (block) {
        mBlocks.push_back(block);
    }
}

std::shared_ptr<RBlock> VBlockStore::Find(const TString& name) const {
    for (const auto& block : mBlocks) {
        if (block->GetName() == name) {
            return block;
        }
    }
    return nullptr;
}

template <typename T>
std::shared_ptr<T> VBlockStore::FindKind(const TString& name) const {
    std::shared_ptr<RBlock> block = Find(name);
    if (!block || !block->IsKindOf(T::ClassId)) {
        return nullptr;
    }
    return std::static_pointer_cast<T>(block);
}

std::shared_ptr<RIntBlock> VBlockStore::GetIntBlock(const TString& name) const {
    return FindKind<RIntBlock>(name);
}

std::shared_ptr<VBinaryBlock> VBlockStore::GetBinaryBlock(const TString& name) const {
    return FindKind<VBinaryBlock>(name);
}

void VBlockStore::LoadAll() {
    ResetAll(false);
    for (const auto& block : mBlocks) {
        block->Load();
    }
}

void VBlockStore::ResetAll(bool save) {
    for (const auto& block : mBlocks) {
        block->Reset();
    }
    if (save) {
        SaveAll();
    }
}

void VBlockStore::SaveAll() {
    for (const auto& block : mBlocks) {
        block->Save();
    }
}
