// Working machines on the machines' floor fixture: a chocolate vendor on the
// level screen with a bucket whose icon shows the chocolate type and takes
// an ingredient's overlay, and the layers of every shape, a catalogue of
// the machines' option upgrades, a sound engine whose effects the game's
// sound manager tracks by name, animation sheets whose scripts play forward
// and back, a step that runs one 16 ms frame of a machine (time, animation
// tasks, update, effects and a drawing), and runs of its work to the end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/shell/gamesoundmanager.h"
#include "platform/audio/manualdevice.h"
#include "sound/sound.h"
#include "sound/soundmanager.h"
#include "tests/machines/machinetesting.h"
#include "tests/support/oggwriter.h"

class WorkingMachineTest : public MachineFloorTest {
protected:
    void SetUp() override {
        MachineFloorTest::SetUp();
        engine = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
        ASSERT_TRUE(engine->Start());
        SetSoundManager(engine.get());
        VSoundManager::Create();
        for (const char* name : {"pickup_drop", "robot_arm", "robot_arm_2", "spray", "stamp", "barrel_trap_door",
                                 "machine_noise", "glug_machine", "topping_machine", "topping", "infusion_machine"}) {
            WriteAsset(std::string("audio/sfx/") + name + ".ogg", MakeOgg(22050, 1, 2205));
        }
        std::string catalogue = "<upgrades><upgradetype type=\"station\">";
        for (const char* kind : {"kMixer", "kMixerQ", "kPress", "kIngredient", "kIngredientQ", "kTopping", "kToppingQ",
                                 "kInfusion", "kInfusionQ"}) {
            for (int n = 1; n <= 3; ++n) {
                catalogue += std::string("<upgrade name=\"") + kind + std::to_string(n) + "\"/>";
            }
        }
        WriteAsset("locations/test/machines.xml", catalogue + "</upgradetype></upgrades>");
        VUpgradeManager::Get()->LoadCatalogue("locations/test/machines.xml");
        WriteImage("choc/bucket.png", 8, 8);
        WriteImage("choc/icon.png", 8, 8);
        WriteImage("choc/shape.png", 8, 8);
        WriteImage("anims/six.png", 96, 16);
        Define(R"(
            local function states(file)
                local list = { anim = false }
                for option = 0, 2 do table.insert(list, { state = "option_" .. option, file = file }) end
                return list
            end
            catalogue = {
                { barType = -1, layerType = 0, option = 0, assets = { bucket = states("choc/bucket.png") },
                  children = { icon = { assets = { choc = states("choc/icon.png"),
                                                   overlay = states("choc/icon.png") } } } },
            }
            for shape = 0, 3 do
                for option = 0, 2 do
                    -- The ingredient, the body and the topping of each shape; infusions have their own.
                    for _, layer in ipairs({ 1, 2, 4 }) do
                        table.insert(catalogue, { barType = shape, layerType = layer, option = option,
                                                  assets = { look = states("choc/shape.png") } })
                    end
                end
            end
            for option = 0, 2 do
                table.insert(catalogue, { barType = 3, layerType = 3, option = option,
                                          assets = { look = states("choc/shape.png") } })
            end
            function Part(sheet)
                return { assets = { look = { { file = "anims/" .. sheet .. ".xml", anim = true } } } }
            end
            function Still() return { assets = { look = { anim = false, { file = "art/base.png" } } } } end
        )");
        vendor = VChocolateVendor::Create();
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable("catalogue"));
        vendor->Load(table.get());
        screen->SetChocolateVendor(vendor);
    }
    void TearDown() override {
        vendor.reset();
        VSoundManager::Release();
        SetSoundManager(nullptr);
        engine.reset();
        MachineFloorTest::TearDown();
    }

    // A six-frame sheet "anims/<name>.xml" with the script.
    void Sheet(const std::string& name, const std::string& script) {
        Sequence("anims/", name, "six.png", 6, script);
    }
    // A sheet "<folder><name>.xml" of frames 16 pixels wide on the image.
    void Sequence(const std::string& folder, const std::string& name, const std::string& image, int count,
                  const std::string& script) {
        std::string frames;
        for (int n = 0; n < count; ++n) frames += "<frame x=\"" + std::to_string(16 * n) + "\" w=\"16\" h=\"16\"/>";
        WriteAsset(folder + name + ".xml", "<sequence name=\"" + name + "\"><img name=\"" + image + "\" w=\"" +
                                               std::to_string(16 * count) + "\" h=\"16\"/><framelist>" + frames +
                                               "</framelist><script luascript=\"" + script + "\"/></sequence>");
    }
    // Three frames forward and back.
    void ForwardAndBack(const std::string& name) {
        Sheet(name, "function DoAnim() frames{1,2,3} end function Reverse() frames{3,2,1} end");
    }

    // A machine of the kind from the global description, its options owned
    // as given, on the scene's clock, at a station.
    template <class T>
    std::shared_ptr<T> Working(int kind, const char* global, std::initializer_list<const char*> owned) {
        for (const char* upgrade : owned) Grant(upgrade, "station");
        station = VStation::Create(0, kind);
        std::shared_ptr<VMachine> machine = VMachine::Create(kind);
        machine->Load(Describe(global));
        machine->ApplyUpgrades();
        station->AddChild(machine);
        station->SetManager(manager);
        machine->SetStation(station);
        return std::dynamic_pointer_cast<T>(machine);
    }

    // One frame of the machine and its station, drawn.
    void Step(const std::shared_ptr<VMachine>& machine) {
        Frame(machine);
        station->Update(false);
        DrawScene(machine);
    }

    // Steps to the end of the machine's work (at most 3 s).
    void RunToIdle(const std::shared_ptr<VMachine>& machine) {
        for (int frame = 0; frame < 200 && machine->GetPhase() != 0; ++frame) Step(machine);
    }

    // Runs the machine's work to its end (at most 3 s), writing each new
    // sound and each phase with the station's state; frames gets the frame
    // each phase began.
    std::vector<std::string> Cycle(const std::shared_ptr<VMachine>& machine) {
        std::vector<std::string> log;
        size_t heard = 0;
        int phase = -1;
        for (int frame = 0; frame < 200 && (frame == 0 || phase != 0); ++frame) {
            if (frame > 0) Step(machine);
            std::vector<std::string> sounds = Sounds();
            for (; heard < sounds.size(); ++heard) log.push_back(sounds[heard]);
            if (machine->GetPhase() != phase) {
                phase = machine->GetPhase();
                log.push_back("phase " + std::to_string(phase) + (station->IsSuspended() ? " held" : " free"));
                frames.push_back(frame);
            }
        }
        return log;
    }

    // The effects played so far, by short name, in order.
    std::vector<std::string> Sounds() const {
        std::vector<std::string> names;
        for (const auto& sound : VSoundManager::Get()->GetSounds()) {
            std::string name = sound->GetSound()->GetFileName().c_str();
            names.push_back(name.substr(name.rfind('/') + 1, name.rfind('.') - name.rfind('/') - 1));
        }
        return names;
    }

    std::unique_ptr<TSoundManager> engine;
    std::shared_ptr<VChocolateVendor> vendor;
    std::shared_ptr<VStation> station;
    std::vector<int> frames;
};
