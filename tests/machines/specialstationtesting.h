// The special stations on the working machines' fixture: a catalogue of the
// belt's, shelf's and bin's upgrades, a bin "station15" with a lid, finished
// and unshaped chocolates, and one frame of a station.
#pragma once

#include <memory>
#include <string>

#include "core/app/gamestateservices.h"
#include "game/chocolates/chocolatespec.h"
#include "game/machines/disposal.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/machines/workingmachinetesting.h"

class SpecialStationTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        SetGameStateServices(&services);
        WriteAsset("audio/sfx/disposal.ogg", MakeOgg(22050, 1, 2205));
        WriteAsset("locations/test/special.xml",
                   "<upgrades><upgradetype type=\"station\"><upgrade name=\"kConveyor1\"/>"
                   "<upgrade name=\"kDisplay1\"/><upgrade name=\"kDisplay2\"/><upgrade name=\"kDisposal\"/>"
                   "</upgradetype></upgrades>");
        VUpgradeManager::Get()->LoadCatalogue("locations/test/special.xml");
        ForwardAndBack("lid");
        Define(R"(bin = { stationID = 15, assets = { base = { anim = false, { file = "art/base.png" } } },
                         children = { active = Part("lid") } })");
    }
    void TearDown() override {
        ClearGameState();
        WorkingMachineTest::TearDown();
    }

    // A station of the kind loaded from the global description, on the
    // scene's clock, with its upgrades applied.
    template <class T>
    std::shared_ptr<T> Loaded(int number, int kind, const std::string& description) {
        Define("special = " + description);
        auto made = std::dynamic_pointer_cast<T>(VStation::Create(number, kind));
        made->Load(Describe("special"));
        made->SetManager(manager);
        made->ApplyUpgrades();
        return made;
    }

    // The owned bin, registered on the level screen as "station15".
    std::shared_ptr<VDisposal> Bin() {
        Grant("kDisposal", "station");
        auto bin = std::dynamic_pointer_cast<VDisposal>(VStation::Create(15, VStation::kDisposalStation));
        bin->Load(Describe("bin"));
        bin->SetManager(manager);
        bin->ApplyUpgrades();
        bin->GetChildObject("active")->StopAnimation(true);
        screen->AddStation(bin->GetName(), bin);
        return bin;
    }

    // The bin's lid plays.
    static bool LidMoves(const VStation& bin) {
        std::shared_ptr<VObject> lid = bin.GetChildObject("active");
        return lid->IsPlaying(-1) || lid->GetPendingAnimation().Length() > 0;
    }

    // A chocolate with one layer, as the vendor makes them; a bar by default.
    std::shared_ptr<VChocolate> Finished(int mix = 1, int shape = 0) {
        VChocolateSpec spec = VChocolateSpec::Init(0);
        spec.shape = shape;
        spec.mix = mix;
        spec.layers = 1;
        return vendor->CreateOrderChocolate(spec);
    }
    // A bucket fresh from the mixer: no shape yet.
    std::shared_ptr<VChocolate> Unshaped() { return VChocolate::Create(vendor); }

    // One 16 ms frame of the station.
    void Run(const std::shared_ptr<VStation>& special, uint32_t milliseconds = 16) {
        Tick(milliseconds);
        special->Update(false);
    }

    FakeServices services;
};
