// Tables: an array part for the keys 1..arraySize and a hash part whose size
// is a power of two. When the hash part is full, both parts are resized so
// the array part is the largest n with more than n/2 of the keys 1..n in use.
#pragma once

#include "lua/numbercast.h"
#include "lua/state.h"

namespace script {

// The value of absent keys; never written.
extern const Value kNilValue;

// A table with room for arraySize list items and 2^logNodeCount records (a
// logNodeCount of -1 means no hash part).
Table* newTable(lua_State* L, int arraySize, int logNodeCount);
void freeTable(lua_State* L, Table* t);

inline int tableNodeCount(const Table* t) { return static_cast<int>(t->nodeMask) + 1; }

// Reads: the slot of the key, or &kNilValue when absent (never allocates).
const Value* tableGet(Table* t, const Value* key);
// The hash-part half of tableGetInt.
const Value* tableGetIntFromNodes(Table* t, int key);

inline const Value* tableGetInt(Table* t, int key)
{
    if (static_cast<unsigned>(key) - 1u < static_cast<unsigned>(t->arraySize))
        return &t->array[key - 1];
    return tableGetIntFromNodes(t, key);
}

// The array slot of a number key, or null when the key is not an integer
// inside the array part.
inline Value* tableArraySlot(Table* t, lua_Number key)
{
    const int index = truncateOrMin(key);
    if (static_cast<unsigned>(index) - 1u < static_cast<unsigned>(t->arraySize) &&
        static_cast<lua_Number>(index) == key)
        return &t->array[index - 1];
    return nullptr;
}

// Strings are found by identity along the chain of their hash.
inline const Value* tableGetString(Table* t, String* key)
{
    const TableNode* n = &t->nodes[key->hash & t->nodeMask];
    for (;;) {
        if (n->key.gc == key && n->key.tag == key->tag)
            return &n->value;
        if (n->key.link == 0)
            return &kNilValue;
        n += n->key.link;
    }
}

// Writes: the slot to store into, created when absent (the stored value must
// then be written at once). A nil key raises "table index is nil", a NaN key
// "table index is NaN". Clears the table's metamethod absence cache.
Value* tableSet(lua_State* L, Table* t, const Value* key);
Value* tableSetInt(lua_State* L, Table* t, int key);
// tableSet for a key that a read has just found absent (tableGet gave
// &kNilValue): the same errors and result, without looking the key up again.
Value* tableInsert(lua_State* L, Table* t, const Value* key);
Value* tableSetString(lua_State* L, Table* t, String* key);

// Traversal: `slot` holds a key (nil to start); on true, slot[0] and slot[1]
// receive the next key and its value. False at the end. A key that is not in
// the table raises "invalid key for `next'". Assigning to existing fields
// (including nil) during a traversal is allowed.
bool tableNext(lua_State* L, Table* t, Value* slot);

// The first n with t[n+1] nil (counting from 1): what getn finds without a
// size field.
int tableFirstBorder(Table* t);

// Element count: field "n" when it is a number (truncated), else the larger
// of the last non-nil array index and the largest number key with a non-nil
// value in the hash part (at least 0); huge values clamp to INT_MAX.
int tableElementCount(Table* t);

// True when the table has no hash part of its own.
bool tableHasNoNodes(const Table* t);

}  // namespace script
