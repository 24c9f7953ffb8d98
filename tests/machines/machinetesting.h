// Stations and machines on the shop floor's fixture: a current level screen
// with a small zone graph, machine descriptions with still and animated
// parts and two option buttons, an upgrade catalogue of the upgrades
// stations and machines ask for, and stations whose machines write down
// their interactions.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/floor/player.h"
#include "game/level/upgrademanager.h"
#include "game/machines/machine.h"
#include "game/machines/station.h"
#include "tests/floor/floortesting.h"

// A sprite of a test's own class, owned as the game's factories own theirs.
struct SpriteOwnership : VSprite {
    using VSprite::Adopt;
};
template <class T, class... Args>
std::shared_ptr<T> MakeOwned(Args&&... args) {
    auto sprite = std::make_shared<T>(std::forward<Args>(args)...);
    SpriteOwnership::Adopt(sprite);
    return sprite;
}

// Writes "<name> interact" for each player it meets.
class CountingMachine : public VMachine {
public:
    explicit CountingMachine(std::vector<std::string>& log) : mLog(log) {}
    void Interact(const std::shared_ptr<VPlayer>& player) override {
        mLog.push_back(std::string(GetName().c_str()) + " interact");
        VMachine::Interact(player);
    }

private:
    std::vector<std::string>& mLog;
};

// Its machines are counting machines; it writes down their kinds.
class CountingStation : public VStation {
public:
    static std::shared_ptr<CountingStation> Create(std::vector<std::string>& log) {
        auto station = std::make_shared<CountingStation>(log);
        Adopt(station);
        return station;
    }
    explicit CountingStation(std::vector<std::string>& log) : VStation(0, 0), mLog(log) {}

protected:
    std::shared_ptr<VMachine> CreateMachine(int kind) const override {
        mLog.push_back("kind " + std::to_string(kind));
        auto machine = std::make_shared<CountingMachine>(mLog);
        Adopt(machine);
        return machine;
    }

private:
    std::vector<std::string>& mLog;
};

class MachineFloorTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        // Times of 0 mean "none yet": start the clock somewhere else.
        timer.Advance(100);
        WriteImage("art/base.png");
        TwoFrames();
        WriteAsset("zones/zones.xml",
                   "<zonecontroller><zone name=\"avatar\">"
                   "<point name=\"a\" x=\"100\" y=\"300\"/><point name=\"b\" x=\"300\" y=\"300\"/>"
                   "<point name=\"c\" x=\"200\" y=\"400\"/><point name=\"station07\" x=\"500\" y=\"300\"/>"
                   "<connection first=\"a\" second=\"b\"/><connection first=\"b\" second=\"c\"/>"
                   "</zone></zonecontroller>");
        WriteAsset("locations/test/upgrades.xml",
                   "<upgrades><upgradetype type=\"aesthetic\">"
                   "<upgrade name=\"kStation1\"><cost>10</cost></upgrade>"
                   "<upgrade name=\"kStation2\"><cost>20</cost></upgrade></upgradetype>"
                   "<upgradetype type=\"gameplay\"><upgrade name=\"kSteam1\"><cost>30</cost></upgrade>"
                   "</upgradetype></upgrades>");
        VUpgradeManager::Get()->LoadCatalogue("locations/test/upgrades.xml");
        screen = CurrentScreen(clock);
        screen->LoadZones();
        Define(R"(
            local function still(file) return { anim = false, { file = file } } end
            function Option(id, icon)
                return { id = id, icon = icon, stripe = "plain",
                         assets = { button = still("art/base.png"),
                                    icon = { anim = false, { file = "art/base.png" },
                                             { state = "dark", file = "white.png" },
                                             { state = "milk", file = "white.png" } },
                                    stripe = { anim = false, { file = "art/base.png" },
                                               { state = "plain", file = "white.png" } } } }
            end
            function Machine(name, selections)
                return { name = name, assets = { base = still("art/base.png") },
                         children = { anim_work = { assets = { work = { { file = "anims/two.xml", anim = true } } } },
                                      static_still = { assets = { still = still("art/base.png") } } },
                         selections = selections }
            end
            machine = Machine("mixer", { Dark = Option(0, "dark"), milk = Option(1, "milk"), odd = 3 })
        )");
    }
    void TearDown() override {
        screen.reset();
        ReleaseManagerSingleton<VUpgradeManager>();
        FloorTest::TearDown();
    }

    // A machine of the global description, reset, on the scene's clock.
    std::shared_ptr<VMachine> LoadedMachine(const char* global = "machine") {
        std::shared_ptr<VMachine> machine = VMachine::Create(0);
        machine->Load(Describe(global));
        machine->ApplyUpgrades();
        machine->SetManager(manager);
        return machine;
    }

    // The level's player on point "a".
    std::shared_ptr<VPlayer> Player() {
        Define("player = { startZone = 'avatar', startPoint = 'a' }");
        screen->LoadPlayer(Describe("player"));
        return screen->GetPlayer();
    }

    static void Grant(const char* name, const char* category) {
        VUpgradeManager::Get()->GrantUpgrade(name, category, false, nullptr);
    }

    std::unique_ptr<ShopWindow> screen;
};
