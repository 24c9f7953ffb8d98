#include "lua/strings.h"

#include <cstring>

#include "lua/collector.h"
#include "lua/memory.h"

namespace script {

namespace {

constexpr int kMinPoolSize = 32;

// Long texts are sampled: about 32 characters, from the end backwards.
template <typename Unit>
uint32_t hashText(const Unit* s, size_t length)
{
    uint32_t h = static_cast<uint32_t>(length);
    size_t step = (length >> 5) + 1;
    for (size_t l = length; l >= step; l -= step)
        h ^= (h << 5) + (h >> 2) + static_cast<uint32_t>(s[l - 1]);
    return h;
}

size_t unitSize(int tag) { return tag == LUA_TWSTRING ? sizeof(lua_WChar) : 1; }

String*& bucketOf(StringPool& pool, uint32_t hash) { return pool.buckets[hash & (pool.size - 1)]; }

// The pooled string of `tag` with these bytes (units for wide), or null.
String* findString(StringPool& pool, const void* data, size_t length, uint32_t hash, int tag)
{
    const size_t bytes = length * unitSize(tag);
    for (GcObject* o = bucketOf(pool, hash); o; o = o->next) {
        String* s = static_cast<String*>(o);
        if (s->hash == hash && s->length == length && s->tag == tag &&
            (bytes == 0 || std::memcmp(s->chars(), data, bytes) == 0))
            return s;
    }
    return nullptr;
}

// A string object of `length` units, terminated but not in the pool.
String* allocString(lua_State* L, size_t length, int tag)
{
    const size_t unit = unitSize(tag);
    if (length >= (static_cast<size_t>(-1) - sizeof(String)) / unit - 1)
        raiseMemoryError(L);
    const size_t bytes = length * unit;
    auto* s = static_cast<String*>(allocMemory(L, sizeof(String) + bytes + unit));
    s->tag = static_cast<uint8_t>(tag);
    s->marks = 0;
    s->reserved = 0;
    s->length = length;
    std::memset(s->chars() + bytes, 0, unit);
    return s;
}

// Puts a new string with its hash into the pool.
String* linkString(lua_State* L, String* s, uint32_t hash)
{
    StringPool& pool = L->shared->strings;
    s->hash = hash;
    String*& bucket = bucketOf(pool, hash);
    s->next = bucket;
    bucket = s;
    ++pool.count;
    if (pool.count > static_cast<uint32_t>(pool.size) && pool.size <= (1 << 29))
        resizeStringPool(L, pool.size * 2);
    return s;
}

// Finds or creates the string of `tag` with these bytes (units for wide).
String* intern(lua_State* L, const void* data, size_t length, uint32_t hash, int tag)
{
    if (String* s = findString(L->shared->strings, data, length, hash, tag))
        return s;
    String* s = allocString(L, length, tag);
    if (length > 0)  // an empty text may come as a null pointer
        std::memcpy(s->chars(), data, length * unitSize(tag));
    return linkString(L, s, hash);
}

}  // namespace

uint32_t hashBytes(const char* s, size_t length)
{
    return hashText(reinterpret_cast<const unsigned char*>(s), length);
}

uint32_t hashUnits(const lua_WChar* s, size_t length) { return hashText(s, length); }

String* newString(lua_State* L, const char* s, size_t length)
{
    return intern(L, s, length, hashBytes(s, length), LUA_TSTRING);
}

String* newString(lua_State* L, const char* s) { return newString(L, s, std::strlen(s)); }

String* newWideString(lua_State* L, const lua_WChar* s, size_t length)
{
    return intern(L, s, length, hashUnits(s, length), LUA_TWSTRING);
}

String* newStringToFill(lua_State* L, size_t length, int tag) { return allocString(L, length, tag); }

String* internFilled(lua_State* L, String* s)
{
    const uint32_t hash = s->tag == LUA_TWSTRING ? hashUnits(s->units(), s->length) : hashBytes(s->chars(), s->length);
    if (String* existing = findString(L->shared->strings, s->chars(), s->length, hash, s->tag)) {
        freeMemory(L, s, stringObjectSize(s));
        return existing;
    }
    return linkString(L, s, hash);
}

size_t stringObjectSize(const String* s)
{
    size_t unit = unitSize(s->tag);
    return sizeof(String) + (s->length + 1) * unit;
}

size_t wideLength(const lua_WChar* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

void initStringPool(lua_State* L)
{
    StringPool& pool = L->shared->strings;
    pool.buckets = nullptr;
    pool.size = 0;
    pool.count = 0;
    resizeStringPool(L, kMinPoolSize);
}

void resizeStringPool(lua_State* L, int newSize)
{
    StringPool& pool = L->shared->strings;
    String** buckets = newArray<String*>(L, static_cast<size_t>(newSize));
    for (int i = 0; i < newSize; ++i)
        buckets[i] = nullptr;
    for (int i = 0; i < pool.size; ++i) {
        GcObject* o = pool.buckets[i];
        while (o) {
            GcObject* following = o->next;
            String* s = static_cast<String*>(o);
            String*& bucket = buckets[s->hash & (newSize - 1)];
            s->next = bucket;
            bucket = s;
            o = following;
        }
    }
    freeArray(L, pool.buckets, static_cast<size_t>(pool.size));
    pool.buckets = buckets;
    pool.size = newSize;
}

void freeString(lua_State* L, String* s)
{
    --L->shared->strings.count;
    freeMemory(L, s, stringObjectSize(s));
}

}  // namespace script
