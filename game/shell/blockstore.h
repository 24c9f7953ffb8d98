// The current user's progress blocks, in order of registration: found by
// name and loaded, reset or saved all at once.
#pragma once

#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/shell/block.h"

class VBlockStore {
public:
    // A null block is not added.
    void Add(const std::shared_ptr<RBlock>& block);
    // The first block of that name; empty when none.
    std::shared_ptr<RBlock> Find(const TString& name) const;
    // The named block when it is of the wanted kind; never makes one.
    std::shared_ptr<RIntBlock> GetIntBlock(const TString& name) const;
    std::shared_ptr<VBinaryBlock> GetBinaryBlock(const TString& name) const;

    // Resets every block, then loads each in order.
    void LoadAll();
    void ResetAll(bool save);
    void SaveAll();
    void Clear() { mBlocks.clear(); }

private:
    template <typename T>
    std::shared_ptr<T> FindKind(const TString& name) const;

    std::vector<std::shared_ptr<RBlock>> mBlocks;
};
