// Style tables: lookups through the table, its "style" sub-table and the
// parents, typed reads, array entries, and chains of "style" tables that
// lead back into themselves.
#include "game/shell/luastyle.h"

#include "core/scripting/luaobject.h"
#include "tests/shell/shelltesting.h"

namespace {

class LuaStyleTest : public ShellTest {
protected:
    // A style of the global table of that name.
    std::shared_ptr<VLuaStyle> Style(const char* global, const std::shared_ptr<VLuaStyle>& parent = nullptr) {
        return VLuaStyle::Create(TWindowManager::GetInstance()->GetScript()->GetGlobalTable(global), parent);
    }
};

TEST_F(LuaStyleTest, LookupsFallBackThroughNestedStyleAndParents) {
    ASSERT_EQ(Run(R"(
        top = { only_top = "top", both = "top" }
        mid = { }
        low = { }
        leaf = { own = "leaf", style = { both = "nested", nested_only = "nested" } }
    )"), "");
    auto top = Style("top");
    auto mid = Style("mid", top);
    auto low = Style("low", mid);
    auto leaf = Style("leaf", low);

    const struct {
        const char* name;
        int inherit;
        const char* expected;
    } kCases[] = {
        {"own", -1, "leaf"},
        {"nested_only", -1, "nested"},
        {"both", -1, "nested"},     // the nested table before the parents
        {"only_top", -1, "top"},    // four styles up with the initial depth
        {"only_top", 0, "none"},    // no parent levels
        {"only_top", 2, "none"},    // top is three levels up
        {"only_top", 3, "top"},
        {"absent", -1, "none"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.inherit));
        leaf->SetInherit(c.inherit);
        EXPECT_EQ(std::string(leaf->GetString(c.name, "none").c_str()), c.expected);
    }
}

TEST_F(LuaStyleTest, ReleasedParentAndMissingSubStyleFallBack) {
    ASSERT_EQ(Run("parent = { key = 'p', n = 4 } child = { }"), "");
    auto parent = Style("parent");
    auto child = Style("child", parent);
    auto missing = parent->GetSubStyle("nothing");
    EXPECT_FALSE(missing->IsValid());
    EXPECT_EQ(std::string(missing->GetString("key", "d").c_str()), "p");
    EXPECT_EQ(missing->GetCount(), 0);

    EXPECT_EQ(std::string(child->GetString("key", "d").c_str()), "p");
    parent.reset();
    missing.reset();
    EXPECT_EQ(std::string(child->GetString("key", "d").c_str()), "d");
}

TEST_F(LuaStyleTest, TypedReadsAndArrayEntries) {
    ASSERT_EQ(Run(R"(
        t = { "first", "second", { 0.5, 0.25, 1, 1 }, { name = "sub" },
              flag = true, size = -7.9, big = 1e300, color = { 1, 0, 0, 0.5 },
              child = { name = "child" } }
    )"), "");
    auto style = Style("t");
    EXPECT_EQ(style->GetCount(), 4);
    EXPECT_TRUE(style->HasKey("flag"));
    EXPECT_FALSE(style->HasKey("nothing"));
    EXPECT_TRUE(style->GetBool("flag", false));
    EXPECT_EQ(style->GetInt("size", 0), -7);
    EXPECT_EQ(style->GetInt("big", 0), std::numeric_limits<int>::max());
    EXPECT_DOUBLE_EQ(style->GetNumber("size", 0), -7.9);
    EXPECT_FLOAT_EQ(style->GetColor("color", TColor4f(0, 0, 0, 0)).a, 0.5f);
    EXPECT_EQ(std::string(style->GetStringAt(2, "").c_str()), "second");
    EXPECT_EQ(std::string(style->GetStringAt(9, "none").c_str()), "none");
    EXPECT_FLOAT_EQ(style->GetColorAt(3, TColor4f(0, 0, 0, 0)).g, 0.25f);
    EXPECT_EQ(std::string(style->GetSubStyleAt(4)->GetString("name", "").c_str()), "sub");
    auto child = style->GetSubStyle("child");
    EXPECT_EQ(std::string(child->GetString("name", "").c_str()), "child");
    EXPECT_TRUE(child->GetBool("flag", false));  // from its parent
    EXPECT_NE(style->GetSubTable("child"), nullptr);
    EXPECT_EQ(style->GetSubTable("flag"), nullptr);
    auto entry = style->GetTable("child");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->IsTable());
}

TEST_F(LuaStyleTest, TablesFromObjectsAndReplacedTables) {
    ASSERT_EQ(Run("a = { k = 'a', style = { s = 'a' } } b = { k = 'b' } n = 5"), "");
    lua_State* L = Script();
    lua_pushstring(L, "a");
    lua_gettable(L, LUA_GLOBALSINDEX);
    TLuaObjectWrapper object(L);
    auto style = VLuaStyle::CreateFromObject(nullptr, object);
    EXPECT_EQ(std::string(style->GetString("s", "").c_str()), "a");

    style->SetTable(TWindowManager::GetInstance()->GetScript()->GetGlobalTable("b"));
    EXPECT_EQ(std::string(style->GetString("k", "").c_str()), "b");
    EXPECT_EQ(std::string(style->GetString("s", "none").c_str()), "none");
    style->SetTable(nullptr);
    EXPECT_TRUE(style->IsValid());

    lua_pushstring(L, "n");
    lua_gettable(L, LUA_GLOBALSINDEX);
    TLuaObjectWrapper number(L);
    EXPECT_FALSE(VLuaStyle::CreateFromObject(nullptr, number)->IsValid());
    EXPECT_EQ(VLuaStyle::Create(nullptr, nullptr)->GetTable("k"), nullptr);
}

TEST_F(LuaStyleTest, StyleChainsThatLeadBackOrRunDeepStop) {
    ASSERT_EQ(Run(R"(
        loop = { k = 'own' } loop.style = loop
        ring = { } ring.style = { style = ring, deep = 'second' }
        deep = { } local t = deep
        for i = 1, 40 do t.style = { level = i } t = t.style end
    )"), "");
    auto loop = Style("loop");
    EXPECT_EQ(std::string(loop->GetString("k", "").c_str()), "own");
    EXPECT_EQ(std::string(loop->GetString("none", "d").c_str()), "d");
    auto ring = Style("ring");
    EXPECT_EQ(std::string(ring->GetString("deep", "").c_str()), "second");
    auto deep = Style("deep");
    EXPECT_EQ(deep->GetInt("level", 0), 1);
    EXPECT_EQ(mLog.Count("leads back into its own chain"), 2u);
    EXPECT_EQ(mLog.Count("nested deeper than 16 levels"), 1u);
}

}  // namespace
