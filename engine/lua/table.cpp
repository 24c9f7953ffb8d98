#include "lua/table.h"

#include "lua/numbercast.h"

#include <climits>
#include <cstring>

#include "lua/collector.h"
#include "lua/debuginfo.h"
#include "lua/memory.h"
#include "lua/strings.h"

namespace script {

const Value kNilValue;

namespace {

// Integer keys up to 2^kMaxArrayBits may live in the array part.
constexpr int kMaxArrayBits = 26;
constexpr int kMaxNodeBits = 26;

// The shared hash part of tables without one: never written, since an
// insertion into it always finds no free node and resizes first.
TableNode emptyNode;

uint32_t mixBits(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x45d9f3bu;
    h ^= h >> 16;
    return h;
}

uint32_t numberHash(lua_Number n)
{
    if (n == 0)
        n = 0;  // -0 and 0 are the same key
    uint64_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    return mixBits(static_cast<uint32_t>(bits) + static_cast<uint32_t>(bits >> 32));
}

uint32_t pointerHash(const void* p)
{
    uintptr_t u = reinterpret_cast<uintptr_t>(p);
    return mixBits(static_cast<uint32_t>(u >> 3) ^ static_cast<uint32_t>(static_cast<uint64_t>(u) >> 32));
}

uint32_t keyHash(const Value* key)
{
    switch (key->tag) {
    case LUA_TNUMBER:
        return numberHash(key->n);
    case LUA_TSTRING:
    case LUA_TWSTRING:
        return asString(key)->hash;
    case LUA_TBOOLEAN:
        return static_cast<uint32_t>(key->b);
    case LUA_TLIGHTUSERDATA:
        return pointerHash(key->p);
    default:
        return pointerHash(key->gc);
    }
}

TableNode* mainPosition(const Table* t, const Value* key)
{
    return &t->nodes[keyHash(key) & t->nodeMask];
}

bool sameKey(const Value* a, const Value* b)
{
    if (a->tag != b->tag)
        return false;
    switch (a->tag) {
    case LUA_TNUMBER:
        return a->n == b->n;
    case LUA_TBOOLEAN:
        return a->b == b->b;
    case LUA_TLIGHTUSERDATA:
        return a->p == b->p;
    default:
        return a->gc == b->gc;
    }
}

// The node holding `key` (whatever its value), or null.
TableNode* findNode(const Table* t, const Value* key)
{
    for (TableNode* n = mainPosition(t, key); n; n = n->next())
        if (sameKey(&n->key, key))
            return n;
    return nullptr;
}

const Value* getFromNodes(const Table* t, const Value* key)
{
    TableNode* n = findNode(t, key);
    return n ? &n->value : &kNilValue;
}

const Value* getNumber(Table* t, lua_Number n)
{
    if (const Value* slot = tableArraySlot(t, n))
        return slot;
    Value key;
    setNumber(&key, n);
    for (TableNode* node = mainPosition(t, &key); node; node = node->next())
        if (node->key.tag == LUA_TNUMBER && node->key.n == n)
            return &node->value;
    return &kNilValue;
}

// Largest k with 2^(k-1) < n <= 2^k, for n >= 1.
int ceilLog2(unsigned n)
{
    int k = 0;
    while ((1u << k) < n)
        ++k;
    return k;
}

void allocateNodes(lua_State* L, Table* t, int count)
{
    if (count == 0) {
        t->nodes = &emptyNode;
        t->nodeMask = 0;
        t->lastFree = t->nodes;
        return;
    }
    int log = ceilLog2(static_cast<unsigned>(count));
    if (log > kMaxNodeBits)
        runError(L, "table overflow");
    int size = 1 << log;
    t->nodes = newArray<TableNode>(L, static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
        setNil(&t->nodes[i].key);
        setNil(&t->nodes[i].value);
        t->nodes[i].setNext(nullptr);
    }
    t->nodeMask = static_cast<uint32_t>(size - 1);
    t->lastFree = t->nodes + size;
}

void freeNodes(lua_State* L, TableNode* nodes, int count)
{
    if (nodes != &emptyNode)
        freeArray(L, nodes, static_cast<size_t>(count));
}

Value* insertKey(lua_State* L, Table* t, const Value* key);

// Stores an item that a resize moves, its key absent from the new parts.
void moveItem(lua_State* L, Table* t, const Value* key, const Value* value)
{
    if (isNumber(key)) {
        if (Value* slot = tableArraySlot(t, key->n)) {
            *slot = *value;
            return;
        }
    }
    *insertKey(L, t, key) = *value;
}

void resize(lua_State* L, Table* t, int newArraySize, int nodeCount)
{
    int oldArraySize = t->arraySize;
    TableNode* oldNodes = t->nodes;
    int oldNodeCount = tableNodeCount(t);
    allocateNodes(L, t, nodeCount);
    if (newArraySize > oldArraySize) {
        t->array = resizeArray(L, t->array, static_cast<size_t>(oldArraySize), static_cast<size_t>(newArraySize));
        for (int i = oldArraySize; i < newArraySize; ++i)
            setNil(&t->array[i]);
    }
    t->arraySize = newArraySize;
    for (int i = newArraySize; i < oldArraySize; ++i) {
        if (!isNil(&t->array[i])) {
            Value key;
            setNumber(&key, i + 1);
            moveItem(L, t, &key, &t->array[i]);
        }
    }
    if (newArraySize < oldArraySize)
        t->array = resizeArray(L, t->array, static_cast<size_t>(oldArraySize), static_cast<size_t>(newArraySize));
    for (int i = 0; i < oldNodeCount; ++i) {
        TableNode* n = &oldNodes[i];
        if (!isNil(&n->value))
            moveItem(L, t, &n->key, &n->value);
    }
    freeNodes(L, oldNodes, oldNodeCount);
}

// Counts an integer key into its power-of-two slice; false for other keys.
bool countIntegerKey(const Value* key, int* slices)
{
    if (key->tag != LUA_TNUMBER)
        return false;
    lua_Number n = key->n;
    if (!(n >= 1 && n <= (1 << kMaxArrayBits)) || static_cast<int>(n) != n)
        return false;
    ++slices[ceilLog2(static_cast<unsigned>(n))];
    return true;
}

// Counts the items of the array part into their power-of-two slices, a
// slice at a time (the array part can be large).
int countArrayItems(const Table* t, int* slices)
{
    int total = 0;
    int key = 1;
    for (int b = 0; key <= t->arraySize; ++b) {
        const int sliceEnd = (1 << b) < t->arraySize ? (1 << b) : t->arraySize;
        int inSlice = 0;
        for (; key <= sliceEnd; ++key)
            inSlice += !isNil(&t->array[key - 1]);
        slices[b] += inSlice;
        total += inSlice;
    }
    return total;
}

// Sizes both parts for the keys present plus `extraKey`: the array part is
// the largest power of two n with more than n/2 of the keys 1..n present.
void rehash(lua_State* L, Table* t, const Value* extraKey)
{
    int slices[kMaxArrayBits + 1] = {};
    int integerKeys = countArrayItems(t, slices);
    int totalKeys = integerKeys;
    for (int i = 0; i < tableNodeCount(t); ++i) {
        TableNode* n = &t->nodes[i];
        if (!isNil(&n->value)) {
            integerKeys += countIntegerKey(&n->key, slices);
            ++totalKeys;
        }
    }
    integerKeys += countIntegerKey(extraKey, slices);
    ++totalKeys;
    int arraySize = 0;
    int inArray = 0;
    int running = 0;
    for (int b = 0; b <= kMaxArrayBits && (1 << b) / 2 < integerKeys; ++b) {
        running += slices[b];
        if (running > (1 << b) / 2) {
            arraySize = 1 << b;
            inArray = running;
        }
    }
    resize(L, t, arraySize, totalKeys - inArray);
}

TableNode* takeFreeNode(Table* t)
{
    while (t->lastFree > t->nodes) {
        --t->lastFree;
        if (isNil(&t->lastFree->key))
            return t->lastFree;
    }
    return nullptr;
}

// Adds a key known to be absent. A colliding node that is not in its own main
// position moves to a free node; otherwise the new key takes the free node.
Value* insertKey(lua_State* L, Table* t, const Value* key)
{
    TableNode* mp = mainPosition(t, key);
    if (!isNil(&mp->value) || mp == &emptyNode) {
        TableNode* free = takeFreeNode(t);
        if (!free) {
            rehash(L, t, key);
            return tableSet(L, t, key);
        }
        TableNode* other = mainPosition(t, &mp->key);
        if (other != mp) {
            while (other->next() != mp)
                other = other->next();
            other->setNext(free);
            *free = *mp;  // the key and value, not the link
            free->setNext(mp->next());
            mp->setNext(nullptr);
            setNil(&mp->value);
        } else {
            free->setNext(mp->next());
            mp->setNext(free);
            mp = free;
        }
    }
    mp->key = *key;
    return &mp->value;
}

// Value of a string key given by its text, without interning it.
const Value* getByText(const Table* t, const char* text)
{
    size_t length = std::strlen(text);
    uint32_t hash = hashBytes(text, length);
    for (TableNode* n = &t->nodes[hash & t->nodeMask]; n; n = n->next()) {
        if (n->key.tag != LUA_TSTRING)
            continue;
        const String* s = asString(&n->key);
        if (s->hash == hash && s->length == length && std::memcmp(s->chars(), text, length) == 0)
            return &n->value;
    }
    return &kNilValue;
}

}  // namespace

Table* newTable(lua_State* L, int arraySize, int logNodeCount)
{
    auto* t = static_cast<Table*>(allocMemory(L, sizeof(Table)));
    t->metatable = nullptr;
    t->absentEvents = 0;
    t->array = nullptr;
    t->arraySize = 0;
    t->grayNext = nullptr;
    t->nodes = &emptyNode;
    t->nodeMask = 0;
    t->lastFree = t->nodes;
    linkObject(L, t, LUA_TTABLE);
    // A hint is only a size: beyond the array part's limit the items go to
    // the hash part.
    if (arraySize < 0)
        arraySize = 0;
    if (arraySize > (1 << kMaxArrayBits))
        arraySize = 1 << kMaxArrayBits;
    int nodeCount = logNodeCount < 0 ? 0 : 1 << (logNodeCount > kMaxNodeBits ? kMaxNodeBits : logNodeCount);
    // Nothing to move yet: both parts are made as they are.
    allocateNodes(L, t, nodeCount);
    if (arraySize > 0) {
        t->array = newArray<Value>(L, static_cast<size_t>(arraySize));
        for (int i = 0; i < arraySize; ++i)
            setNil(&t->array[i]);
        t->arraySize = arraySize;
    }
    return t;
}

void freeTable(lua_State* L, Table* t)
{
    freeNodes(L, t->nodes, tableNodeCount(t));
    freeArray(L, t->array, static_cast<size_t>(t->arraySize));
    freeMemory(L, t, sizeof(Table));
}

bool tableHasNoNodes(const Table* t) { return t->nodes == &emptyNode; }

const Value* tableGet(Table* t, const Value* key)
{
    switch (key->tag) {
    case LUA_TNIL:
        return &kNilValue;
    case LUA_TNUMBER:
        return getNumber(t, key->n);
    case LUA_TSTRING:
    case LUA_TWSTRING:
        return tableGetString(t, asString(key));
    default:
        return getFromNodes(t, key);
    }
}

const Value* tableGetIntFromNodes(Table* t, int key) { return getNumber(t, key); }

Value* tableSet(lua_State* L, Table* t, const Value* key)
{
    if (key->tag == LUA_TSTRING || key->tag == LUA_TWSTRING)
        return tableSetString(L, t, asString(key));
    const Value* slot = tableGet(t, key);
    if (slot != &kNilValue) {
        t->absentEvents = 0;
        return const_cast<Value*>(slot);
    }
    return tableInsert(L, t, key);
}

Value* tableInsert(lua_State* L, Table* t, const Value* key)
{
    if (isNil(key))
        runError(L, "table index is nil");
    if (isNumber(key) && key->n != key->n)
        runError(L, "table index is NaN");
    t->absentEvents = 0;
    return insertKey(L, t, key);
}

Value* tableSetInt(lua_State* L, Table* t, int key)
{
    t->absentEvents = 0;
    if (static_cast<unsigned>(key) - 1u < static_cast<unsigned>(t->arraySize))
        return &t->array[key - 1];
    Value k;
    setNumber(&k, key);
    const Value* slot = getNumber(t, key);
    if (slot != &kNilValue)
        return const_cast<Value*>(slot);
    return insertKey(L, t, &k);
}

Value* tableSetString(lua_State* L, Table* t, String* key)
{
    t->absentEvents = 0;
    const Value* slot = tableGetString(t, key);
    if (slot != &kNilValue)
        return const_cast<Value*>(slot);
    Value k;
    setString(&k, key);
    return insertKey(L, t, &k);
}

bool tableNext(lua_State* L, Table* t, Value* slot)
{
    int i = 0;  // position to look from: array indices, then nodes
    if (!isNil(slot)) {
        const Value* item = slot->tag == LUA_TNUMBER ? tableArraySlot(t, slot->n) : nullptr;
        if (item) {
            i = static_cast<int>(item - t->array) + 1;
        } else {
            TableNode* n = findNode(t, slot);
            if (!n)
                runError(L, "invalid key for `next'");
            i = t->arraySize + static_cast<int>(n - t->nodes) + 1;
        }
    }
    for (; i < t->arraySize; ++i) {
        if (!isNil(&t->array[i])) {
            setNumber(&slot[0], i + 1);
            slot[1] = t->array[i];
            return true;
        }
    }
    for (i -= t->arraySize; i < tableNodeCount(t); ++i) {
        TableNode* n = &t->nodes[i];
        if (!isNil(&n->value)) {
            slot[0] = n->key;
            slot[1] = n->value;
            return true;
        }
    }
    return false;
}

int tableFirstBorder(Table* t)
{
    int n = 0;
    while (n < t->arraySize && !isNil(&t->array[n]))
        ++n;
    if (n < t->arraySize)
        return n;
    while (n < INT_MAX && !isNil(tableGetInt(t, n + 1)))
        ++n;
    return n;
}

int tableElementCount(Table* t)
{
    const Value* field = getByText(t, "n");
    if (isNumber(field))
        return truncateNumber<int>(field->n);
    int last = t->arraySize;
    while (last > 0 && isNil(&t->array[last - 1]))
        --last;
    lua_Number largest = last;
    for (int i = 0; i < tableNodeCount(t); ++i) {
        TableNode* n = &t->nodes[i];
        if (!isNil(&n->value) && isNumber(&n->key) && n->key.n > largest)
            largest = n->key.n;
    }
    return truncateNumber<int>(largest);
}

}  // namespace script
