// Builds a station description from arbitrary bytes through the script's C
// interface (no script of the input runs): the station and machine keys,
// the mixer's and the press's parts, numbers such as NaN and +-1e300,
// strings, booleans and nested tables, with the parts of every machine kind
// and the belt's arc. A station of every kind loads it, applies its
// upgrades, sets its machines to work (some on a bucket, some on a shaped
// chocolate), puts a bucket on a belt and runs 100 updates of 16 ms on a
// fake clock, on a level screen whose zone graph knows a few points and
// whose chocolate vendor makes buckets, shapes, ingredients, toppings and
// infusions.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/machines/conveyor.h"
#include "game/machines/machine.h"
#include "game/machines/station.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "lua/lua.h"
#include "platform/os/timer.h"

namespace {

const char* const kKeys[] = {
    "stationID", "stationType", "machines", "playerPoint", "custPoint", "money",  "name",    "selections",
    "id",        "icon",        "stripe",   "x",           "y",         "layer",  "visible", "mouse",
    "leaf",      "clickable",   "assets",   "children",    "tabletop",  "base",   "button",  "file",
    "state",     "anim",        "regX",     "anim_work",   "static_a",  "style",  "type",    "spriteLayer",
    // The mixer's and the press's parts and buttons.
    "anim_arm", "anim_tube", "anim_spray", "tank1", "tank3", "button1", "button2", "anim_door", "anim_largeweight",
    "anim_wheel", "anim_fill", "static_door", "static_largeweight", "static_wheel",
    // The ingredient machine's, the topping machine's and the infuser's.
    "anim_intro", "anim_pump", "anim_top1", "anim_top2", "static_top1", "static_top2", "anim_funnel",
    "anim_particles", "static_base", "static_top", "anim_base", "anim_top_working", "overlay",
    // The drink, sauce and delivery machines' parts.
    "static_fill", "anim_dispenser", "static_dispenser", "anim_top", "static_top", "anim_fill_steam", "bottle",
    "bubble", "anim_boxing_front", "anim_boxing_back",
    // The belt's arc and the bin's lid.
    "arcCenter", "arcStart", "arcEnd", "arcVelocity", "stations", "active",
};
const char* const kWords[] = {
    "a", "b", "avatar", "customer01", "station01", "default", "upgrade2", "dark", "missing.png", "mixer", "press",
    "option_1", "DoAnim", "Reverse", "DoDoor", "DoAnim_0", "bar", "DoParticles", "upgrade1", "upgrade3",
    "ingredient", "topping", "infuser", "machine_sauce_2", "DoFront", "DoDrinkFill", "DoSauceFill", "DoDrinkSteam",
    "",
};
const double kNumbers[] = {NAN, 1e300, -1e300, INFINITY, 0, -1, 1, 2, 3, 4, 9, 11, 12, 13, 2147483648.0};
constexpr int kMostDepth = 4;
constexpr int kMostEntries = 12;

// A bucket whose icon shows the chocolate type and takes an ingredient, the
// bar and truffle shapes with their ingredients and toppings, and infusions.
const char kChocolates[] = R"(
    local function look() return { anim = false, { file = "missing.png" } } end
    chocolates = { { barType = -1, layerType = 0, option = 0, assets = { bucket = look() },
                     children = { icon = { assets = { choc = look(), overlay = look() } } } } }
    for shape = 0, 3 do
        for option = 0, 2 do
            for layer = 1, 4 do
                table.insert(chocolates, { barType = shape, layerType = layer, option = option, assets = { look = look() } })
            end
        end
    end
)";

const char kZones[] =
    "<zonecontroller><zone name=\"avatar\"><point name=\"a\" x=\"10\" y=\"20\"/><point name=\"b\" x=\"30\" "
    "y=\"20\"/></zone><zone name=\"customers\"><point name=\"customer01\" x=\"5\" y=\"5\"/></zone>"
    "</zonecontroller>";

// Hands out the input's bytes in turn, then zeros.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    bool Empty() const { return mAt >= mSize; }
    uint8_t Next() { return mAt < mSize ? mData[mAt++] : 0; }
    double Number() {
        double value = 0;
        uint8_t raw[sizeof(double)];
        for (uint8_t& byte : raw) byte = Next();
        std::memcpy(&value, raw, sizeof(value));
        return value;
    }
    std::string Text() {
        size_t length = Next() % 16;
        std::string text;
        for (size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char>(Next());
        return text;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mAt = 0;
};

template <typename T, size_t N>
const T& Pick(Bytes& bytes, const T (&choices)[N]) {
    return choices[bytes.Next() % N];
}

void PushTable(lua_State* L, Bytes& bytes, int depth);

void PushValue(lua_State* L, Bytes& bytes, int depth) {
    switch (bytes.Next() % 7) {
        case 0:
            lua_pushnumber(L, Pick(bytes, kNumbers));
            break;
        case 1:
            lua_pushnumber(L, bytes.Number());
            break;
        case 2:
            lua_pushstring(L, Pick(bytes, kWords));
            break;
        case 3: {
            std::string text = bytes.Text();
            lua_pushlstring(L, text.data(), text.size());
            break;
        }
        case 4:
            lua_pushboolean(L, bytes.Next() & 1);
            break;
        default:
            if (depth < kMostDepth) {
                PushTable(L, bytes, depth + 1);
            } else {
                lua_pushnumber(L, bytes.Next());
            }
            break;
    }
}

void PushKey(lua_State* L, Bytes& bytes) {
    if (bytes.Next() % 4 == 0) {
        lua_pushnumber(L, bytes.Next() % 6 + 1);
    } else {
        lua_pushstring(L, Pick(bytes, kKeys));
    }
}

void PushTable(lua_State* L, Bytes& bytes, int depth) {
    lua_newtable(L);
    int entries = bytes.Next() % kMostEntries;
    for (int entry = 0; entry < entries && !bytes.Empty(); ++entry) {
        PushKey(L, bytes);
        PushValue(L, bytes, depth);
        lua_settable(L, -3);
    }
}

struct World {
    World() {
        os::SetCurrentTimer(&timer);
        clock.Start();
        RegisterMemoryFile("zones/zones.xml", kZones, sizeof(kZones) - 1);
        TWindowStyle style(nullptr);
        screen.PostInit(style);
        screen.LoadZones();
        TScript chocolates;
        chocolates.DoLuaString(kChocolates);
        std::unique_ptr<TLuaTable> table(chocolates.GetGlobalTable("chocolates"));
        vendor->Load(table.get());
        screen.SetChocolateVendor(vendor);
    }

    os::FakeTimer timer{1000};
    TClock clock;
    ShopWindow screen;
    std::shared_ptr<VChocolateVendor> vendor = VChocolateVendor::Create();
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    static World* world = new World;
    // A script of its own, so that each input's tables go with it.
    TScript script;
    lua_State* L = script.GetState();
    Bytes bytes(data, size);
    PushTable(L, bytes, 0);
    std::shared_ptr<VLuaStyle> description = VLuaStyle::Create(new TLuaTable(L), nullptr);
    for (int kind = -1; kind <= 13; ++kind) {
        std::shared_ptr<VStation> station = VStation::Create(0, kind);
        station->SetClock(&world->clock);
        station->Load(description);
        station->ApplyUpgrades();
        for (const auto& [key, machine] : station->GetMachines()) {
            machine->SetEnabled(key.Length() % 2 == 0);
            if (key.Length() % 3 == 0) {
                std::shared_ptr<VChocolate> chocolate = world->vendor->MakeChocolateIcon(bytes.Next() % 3, true);
                // Some shaped, for the topping machine.
                if (bytes.Next() % 2) chocolate->MakeLayer(bytes.Next() % 4, 2, 0);
                machine->PutItem(chocolate, 1, false);
            }
            machine->Select(bytes.Next() % 4);
            machine->TryStartWork();
        }
        station->RelinkMachines();
        auto belt = std::dynamic_pointer_cast<VConveyor>(station);
        if (belt) belt->AddToBelt(world->vendor->MakeChocolateIcon(bytes.Next() % 3, true));
        for (int step = 0; step < 100; ++step) {
            world->timer.Advance(16);
            station->Update(false);
        }
        // Whatever the arc, an item on the belt is drawn somewhere.
        for (const VConveyor::BeltEntry& entry : belt ? belt->GetBelt() : std::list<VConveyor::BeltEntry>()) {
            TVec2 at = entry.item->GetPosition();
            if (!std::isfinite(at.x) || !std::isfinite(at.y)) __builtin_trap();
        }
        // The lookups the station offers must agree with its map.
        for (const auto& [key, machine] : station->GetMachines()) {
            if (station->GetMachine(key) != machine) __builtin_trap();
        }
    }
    return 0;
}
