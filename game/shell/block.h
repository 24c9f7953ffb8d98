// Per-user data blocks: typed values with a default, kept in the preferences
// store under the block's name in the scope of the current user. Every save
// rewrites the preferences file at once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/tstring.h"

class TPrefs;

using RBlockClassId = const void*;

class RBlock : public std::enable_shared_from_this<RBlock> {
public:
    static const RBlockClassId ClassId;

    RBlock(const TString& name, bool allowWithoutUser) : mName(name), mAllowWithoutUser(allowWithoutUser) {}
    virtual ~RBlock() = default;
    RBlock(const RBlock&) = delete;
    RBlock& operator=(const RBlock&) = delete;

    virtual const char* GetClassName() const { return "RBlock"; }
    virtual bool IsKindOf(RBlockClassId id) const { return id == ClassId; }
    virtual void Reset() = 0;
    virtual void Load() = 0;
    virtual void Save() = 0;

    const TString& GetName() const { return mName; }
    bool IsAllowedWithoutUser() const { return mAllowWithoutUser; }

    // The "curuser" of the global scope, -1 for none.
    static int GetCurrentUser();

protected:
    // The store and the scope to use; null when there is no store, or no
    // user and the block needs one.
    TPrefs* GetStore(int& scope) const;

private:
    TString mName;
    bool mAllowWithoutUser;
};

class RIntBlock : public RBlock {
public:
    static const RBlockClassId ClassId;

    static std::shared_ptr<RIntBlock> Create(const TString& name, int defaultValue, bool allowWithoutUser);

    RIntBlock(const TString& name, int defaultValue, bool allowWithoutUser);

    const char* GetClassName() const override { return "RIntBlock"; }
    bool IsKindOf(RBlockClassId id) const override { return id == ClassId || RBlock::IsKindOf(id); }
    void Reset() override { mValue = mDefault; }
    void Load() override;
    void Save() override;

    int GetValue() const { return mValue; }
    void SetValue(int value) { mValue = value; }
    int GetDefault() const { return mDefault; }

private:
    int mDefault;
    int mValue;
};

class VBinaryBlock : public RBlock {
public:
    static const RBlockClassId ClassId;

    // A negative size counts as 0.
    static std::shared_ptr<VBinaryBlock> Create(const TString& name, int size, char fill, bool allowWithoutUser);

    VBinaryBlock(const TString& name, int size, char fill, bool allowWithoutUser);

    const char* GetClassName() const override { return "VBinaryBlock"; }
    bool IsKindOf(RBlockClassId id) const override { return id == ClassId || RBlock::IsKindOf(id); }
    // Back to the default size, every byte the fill byte.
    void Reset() override;
    // A stored entry sets the size to its length; none (or an empty one) resets.
    void Load() override;
    void Save() override;

    // Keeps the first bytes that fit; a negative size counts as 0.
    void Resize(int size);
    // A byte, or a little-endian 32-bit integer, by its index; 0 where the
    // data (a shorter stored entry) has none, or for a negative index.
    uint8_t ReadByte(int index) const;
    int32_t ReadInt(int index) const;
    // Grows the data to hold the index, to the default size at least, with
    // the fill byte; a negative index writes nothing.
    void WriteByte(int index, uint8_t value);
    void WriteInt(int index, int32_t value);
    uint8_t* GetData() { return mData.data(); }
    const uint8_t* GetData() const { return mData.data(); }
    int GetSize() const { return static_cast<int>(mData.size()); }
    // The data has the bytes from offset on: a slot of a progress record
    // past a shorter stored entry has none.
    bool Holds(int offset, int size = 1) const { return offset >= 0 && size >= 0 && offset <= GetSize() - size; }

private:
    // 0 past the data.
    uint8_t ByteAt(size_t offset) const;
    // Grows the data to end at least at the byte offset.
    void Reach(size_t end);

    int mDefaultSize;
    char mFill;
    std::vector<uint8_t> mData;
};
